// Stands in for an adware program: it does nothing until it is terminated.
// The tests copy it under the names on their adware list. Started with
// "protect", it takes the right to terminate it away from everybody, as a
// process of another user or of the system would.
#include <windows.h>

#include <aclapi.h>

#include <cstring>

namespace {

void DenyTermination() {
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone)) {
        return;
    }
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
    if (std::strstr(commandLine, "protect") != nullptr) {
        DenyTermination();
    }
    Sleep(INFINITE);
    return 0;
}
