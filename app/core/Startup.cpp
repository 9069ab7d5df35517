#include "app/core/Startup.h"

#include "app/core/AppSettings.h"

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

std::string SettleFolder(ISettings& settings, const TextSetting& setting, const std::string& programFolder,
                         const char* subfolder)
{
    std::string folder = ReadSetting(settings, setting);
    if (!folder.empty()) {
        return folder;
    }
    folder = programFolder + subfolder;
    if (!programFolder.empty()) {
        // A failed write leaves the value empty; the default is used again
        // on the next start.
        WriteSetting(settings, setting, folder);
    }
    return folder;
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

AppFolders SettleFolders(ISettings& settings, const std::string& programFolder)
{
    AppFolders folders;
    folders.skin = SettleFolder(settings, kSkinDirSetting, programFolder, kDefaultSkinSubfolder);
    folders.sound = SettleFolder(settings, kSoundDirSetting, programFolder, kDefaultSoundSubfolder);
    folders.notifications =
        SettleFolder(settings, kNotificationsDirSetting, programFolder, kDefaultNotificationsSubfolder);
    return folders;
}
