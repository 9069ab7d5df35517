# Cross build for 32-bit Windows with Debian's MinGW-w64 GCC: the whole set
# of programs for 32-bit systems (preset win32), and Wendle32.dll with its
# host inside the 64-bit build.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake")

# Against msvcrt.dll, 32-bit MinGW makes time_t 32 bits wide unless told
# otherwise; the notices compare time stamps over years, past 2038. This
# uses the _time64 family, which msvcrt.dll has since Windows XP.
set(CMAKE_C_FLAGS_INIT "-D__MINGW_USE_VC2005_COMPAT")
set(CMAKE_CXX_FLAGS_INIT "-D__MINGW_USE_VC2005_COMPAT")
