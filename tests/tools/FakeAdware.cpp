// Stands in for an adware program, copied under listed names, idle until
// terminated. With "protect" nobody may terminate it, as with a system process.
#include <windows.h>
#include <aclapi.h>
#include <cstring>

namespace {

void DenyTermination() {
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone)) return;
    BYTE buffer[256] = {};
    auto* acl = reinterpret_cast<ACL*>(buffer);
    if (InitializeAcl(acl, sizeof(buffer), ACL_REVISION) &&
        AddAccessAllowedAce(acl, ACL_REVISION, PROCESS_ALL_ACCESS & ~PROCESS_TERMINATE, everyone)) {
        SetSecurityInfo(GetCurrentProcess(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, acl,
                        nullptr);
    }
    FreeSid(everyone);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    if (std::strstr(commandLine, "protect") != nullptr) DenyTermination();
    Sleep(INFINITE);
    return 0;
}
