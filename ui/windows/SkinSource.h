// Where the skinned windows get their backgrounds: the application's skin
// folder, through its LoadSkinBitmap.
#pragma once
#include <windows.h>

#include <string>

namespace tarnelix {

class ISkinSource {
public:
    virtual ~ISkinSource() = default;
    // Loads skin folder + fileName into bitmap, deleting what it held. An
    // empty name changes nothing and gives false; a missing file leaves a
    // null handle and still gives true.
    virtual bool LoadSkinBitmap(HBITMAP& bitmap, const std::string& fileName) const = 0;
};

}  // namespace tarnelix
