// ListSaveLoop: saves "AllowBanners.dat"-style lists through the program's
// own list-file code without end, so that a test can kill it at any moment:
//
//   ListSaveLoop.exe PATH
//
// Save g holds the lines "g <g> <k>" for k = 0 .. 20 + g % 97, so any
// complete save can be told from a torn one by its lines alone.
#include <windows.h>

#include <string>

#include "pages/ListFiles.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32TextCompare.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        return 2;
    }
    Win32FileStore store;
    Win32TextCompare compare;
    for (unsigned generation = 0;; ++generation) {
        SortedTextList list{compare};
        for (unsigned k = 0; k <= 20 + generation % 97; ++k) {
            list.Add("g " + std::to_string(generation) + " " + std::to_string(k));
        }
        WriteAllowedFile(store, argv[1], list);
    }
}
