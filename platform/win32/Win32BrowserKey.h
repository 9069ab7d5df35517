#pragma once

#include "platform/BrowserKey.h"

// IBrowserKey over HKEY_CURRENT_USER\SOFTWARE\Microsoft\Internet Explorer\Main\.
class Win32BrowserKey final : public IBrowserKey {
public:
    std::optional<std::string> ReadString(const char* name) const override;
    bool WriteString(const char* name, const std::string& value) override;
};
