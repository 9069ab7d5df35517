// Times the add-on's CleanFolder under Wine on 10,000 files in 100 folders,
// against a plain recursive delete of the same tree measured in the same
// run, and prints the medians and the median of the rounds' ratios (each
// round times both on the same machine load, which the shared test machines
// change by the second). Target: at most 1.3 times the plain delete. The
// tree is rebuilt (untimed) before every timing.
// It fails only when it cannot run, not on a missed target.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "addon/core/TraceCleaner.h"
#include "addon/win32/TraceAdapters.h"
#include "platform/win32/Win32TextCompare.h"

#include "wine/WineTiming.h"

namespace {

using winebench::Median;
using winebench::Time;

// Deleting a file costs Wine a few milliseconds (several server calls), so
// one round takes about a minute; the folder count can be given as the
// argument for a quicker look.
constexpr int kFolders = 100;
constexpr int kFilesPerFolder = 100;
constexpr int kRounds = 3;

void BuildTree(const std::string& root, int folders) {
    CreateDirectoryA(root.c_str(), nullptr);
    for (int folder = 0; folder < folders; ++folder) {
        const std::string dir = root + "\\d" + std::to_string(folder);
        CreateDirectoryA(dir.c_str(), nullptr);
        for (int file = 0; file < kFilesPerFolder; ++file) {
            HANDLE handle = CreateFileA((dir + "\\f" + std::to_string(file) + ".tmp").c_str(), GENERIC_WRITE, 0,
                                        nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            DWORD written = 0;
            WriteFile(handle, "sixteen bytes...", 16, &written, nullptr);
            CloseHandle(handle);
        }
    }
}

// The baseline: what any recursive delete has to do.
void PlainDelete(const std::string& folder) {
    WIN32_FIND_DATAA data{};
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") {
            continue;
        }
        const std::string full = folder + "\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            PlainDelete(full);
            RemoveDirectoryA(full.c_str());
        } else {
            DeleteFileA(full.c_str());
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

template <typename Work>
double TimeOnFreshTree(const std::string& root, int folders, Work work) {
    BuildTree(root, folders);
    return Time(work);
}

bool IsEmpty(const std::string& root) {
    WIN32_FIND_DATAA data{};
    HANDLE find = FindFirstFileA((root + "\\*").c_str(), &data);
    int entries = 0;
    for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &data)) {
        ++entries;
    }
    if (find != INVALID_HANDLE_VALUE) {
        FindClose(find);
    }
    return entries == 2;  // "." and ".."
}

}  // namespace

int main(int argc, char** argv) {
    const int folders = argc > 1 ? std::atoi(argv[1]) : kFolders;
    const char* scratch = std::getenv("TARNELIX_TEST_DIR");
    const std::string root = std::string(scratch != nullptr ? scratch : ".\\") + "sweep";
    tarnelix::Win32TraceFiles files;
    tarnelix::Win32UrlCache cache;
    tarnelix::Win32TraceRegistry registry;
    tarnelix::Win32SystemTraces system(nullptr);
    Win32TextCompare compare;
    CTraceCleaner cleaner(files, cache, registry, system, compare);

    std::vector<double> plain, sweep, ratios;
    bool emptied = true;
    for (int round = 0; round < kRounds; ++round) {
        plain.push_back(TimeOnFreshTree(root, folders, [&] { PlainDelete(root); }));
        emptied = emptied && IsEmpty(root);
        sweep.push_back(TimeOnFreshTree(root, folders, [&] { cleaner.CleanFolder(root, {false, true, false}); }));
        emptied = emptied && IsEmpty(root);
        ratios.push_back(sweep.back() / plain.back());
        std::printf("  round %d: plain delete %.1f ms, CleanFolder %.1f ms\n", round + 1, plain.back(), sweep.back());
        std::fflush(stdout);
    }
    RemoveDirectoryA(root.c_str());
    const double ratio = Median(ratios);
    std::printf("CleanFolder: %d files in %d folders, %d rounds\n", folders * kFilesPerFolder, folders, kRounds);
    std::printf("  median plain recursive delete %.1f ms, CleanFolder (temp-folder flags) %.1f ms; "
                "median ratio %.2fx (target <= 1.3x): %s\n",
                Median(plain), Median(sweep), ratio, ratio <= 1.3 ? "met" : "MISSED");
    if (!emptied) {
        std::printf("CleanFolder: could not run (a tree was not emptied)\n");
    }
    return emptied ? 0 : 1;
}
