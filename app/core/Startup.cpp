#include "app/core/Startup.h"

#include "common/AppSettings.h"

namespace {

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

AppFolders SettleFolders(ISettings& settings, const std::string& programFolder)
{
    AppFolders folders;
    folders.skin = SettleFolder(settings, kSkinDirSetting, programFolder, kDefaultSkinSubfolder);
    folders.sound = SettleFolder(settings, kSoundDirSetting, programFolder, kDefaultSoundSubfolder);
    folders.notifications =
        SettleFolder(settings, kNotificationsDirSetting, programFolder, kDefaultNotificationsSubfolder);
    return folders;
}
