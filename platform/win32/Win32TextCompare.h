#pragma once

#include "platform/TextCompare.h"

// Case rules of the user's default locale and ANSI code page, the same ones
// the system's sorted list boxes and list views apply.
class Win32TextCompare final : public ITextCompare {
public:
    int CompareNoCase(std::string_view a, std::string_view b) const override;
    std::string ToLower(std::string_view text) const override;
    bool IsLeadByte(unsigned char byte) const override;
};
