# The system maps the hook library into every process that owns windows, so
# it carries no C or C++ runtime: it imports only KERNEL32 and USER32, runs no
# static constructors and stays a few KiB. DllMain is the entry point.
#
# The x64 unwind tables (.pdata/.xdata) stay in: they need no runtime, and
# without them Windows takes every function of the DLL for a leaf function,
# so an SEH exception raised in a window procedure that a hook led to (say
# through WM_GETTEXT) could not be unwound past the hook's frame.
#
# WARNINGS: the compile options of the project's warning set.
function(tarnelix_no_crt_dll target warnings)
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:-Os -fno-exceptions -fno-rtti -fno-threadsafe-statics -fno-stack-protector>
    # The warning flags go to the C++ sources only: windres does not take them.
    "$<$<COMPILE_LANGUAGE:CXX>:${warnings}>")
  # The 32-bit entry point carries the stdcall decoration of its 12 bytes of
  # arguments.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(entry _DllMain@12)
  else()
    set(entry DllMain)
  endif()
  target_link_options(${target} PRIVATE -nostdlib -nostartfiles -Wl,--entry,${entry} -s)
  target_link_libraries(${target} PRIVATE kernel32 user32)
  set_target_properties(${target} PROPERTIES PREFIX "")
endfunction()
