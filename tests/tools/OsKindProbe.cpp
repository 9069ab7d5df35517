// OsKindProbe: runs Tarnelix's Windows-version detection and writes the
// resulting OsKind to a file. The Wine tests start it under a per-program
// Windows version (HKCU\Software\Wine\AppDefaults\OsKindProbe.exe).
//
//   OsKindProbe.exe OUTFILE
#include <windows.h>

#include <cstdio>

#include "common/OsKind.h"
#include "platform/win32/Win32Version.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: OsKindProbe OUTFILE\n");
        return 2;
    }
    Win32VersionQuery query;
    const int kind = DetectOsKind(query);
    FILE* out = std::fopen(argv[1], "w");
    if (out == nullptr) {
        return 3;
    }
    std::fprintf(out, "%d\n", kind);
    std::fclose(out);
    return 0;
}
