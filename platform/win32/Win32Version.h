#pragma once

#include "platform/Version.h"

// IVersionQuery over GetVersionExA. The extended record is 156 bytes
// (OSVERSIONINFOEXA), the plain one 148 (OSVERSIONINFOA).
class Win32VersionQuery final : public IVersionQuery {
public:
    std::optional<WindowsVersion> Ask(VersionRecord record) override;
};
