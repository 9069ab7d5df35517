#include "common/ProgramIdentity.h"

namespace {

// A file name may carry a drive prefix ("C:name") without a separator.
std::string_view FileNamePart(std::string_view path)
{
    const std::size_t separator = path.find_last_of("\\/");
    if (separator != std::string_view::npos) {
        return path.substr(separator + 1);
    }
    if (path.size() >= 2 && path[1] == ':') {
        return path.substr(2);
    }
    return path;
}

}  // namespace

std::string ProgramFolderFromPath(std::string_view programPath)
{
    const std::size_t separator = programPath.find_last_of("\\/");
    if (separator == std::string_view::npos) {
        return {};
    }
    return std::string(programPath.substr(0, separator + 1));
}

std::string ApplicationNameFromPath(std::string_view programPath)
{
    const std::string_view name = FileNamePart(programPath);
    const std::size_t dot = name.rfind('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}
