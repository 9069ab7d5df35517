// The deliverables' version resources.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "support/WineTest.h"

namespace {

using winetest::ProgramDir;

std::string VersionString(const std::string& filePath, const char* name) {
    DWORD handle = 0;
    std::vector<char> data(GetFileVersionInfoSizeA(filePath.c_str(), &handle) + 1);
    const std::string key = std::string("\\StringFileInfo\\040904B0\\") + name;
    char* value = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoA(filePath.c_str(), 0, static_cast<DWORD>(data.size()), data.data()) ||
        !VerQueryValueA(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) || value == nullptr) {
        return "";
    }
    return std::string(value, length > 0 ? length - 1 : 0);
}

TEST(Programs, EachCarriesTheCompanyAndVersionResource) {
    for (const char* file : {"Tarnelix.exe", "Wendle.dll", "Veilmark-AddOn.exe", "TarnelixCtrl.exe", "Wendle32.dll",
                             "Wendle32Host.exe"}) {
        const std::string path = ProgramDir() + file;
        EXPECT_EQ("Corvantine", VersionString(path, "CompanyName")) << file;
        EXPECT_EQ("3.0.0.0", VersionString(path, "FileVersion")) << file;
        EXPECT_EQ(file, VersionString(path, "OriginalFilename")) << file;
    }
}

}  // namespace
