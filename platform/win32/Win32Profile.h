#pragma once

#include <optional>
#include <string>

#include "platform/Settings.h"

// ISettings over HKEY_CURRENT_USER\Software\<company>\<application>\<section>:
// integers as REG_DWORD, texts as REG_SZ. Keys are opened for each call and
// closed before it returns; writes create the keys they need.
class Win32Profile final : public ISettings {
public:
    // `application` is the program file's name without folder and extension,
    // e.g. "Tarnelix" or "Veilmark-AddOn".
    Win32Profile(std::string company, std::string application);

    int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) const override;
    bool WriteProfileInt(const std::string& section, const std::string& entry, int value) override;
    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue) const override;
    bool WriteProfileString(const std::string& section, const std::string& entry,
                            const std::string& value) override;

private:
    std::optional<StoredValue> Read(const std::string& section, const std::string& entry) const;
    bool Write(const std::string& section, const std::string& entry, unsigned long type, const void* data,
               unsigned long size);

    std::string company;
    std::string application;
};
