// Which program a process is, from its program file name. The hook library
// decides it at load; the main program decides it again for the window a
// report names, so that a report from any other program is refused. One
// table for both sides.
//
// Portable and self-contained (no Windows headers, no C runtime), so that
// Wendle.dll compiles it with its own no-CRT flags.
#pragma once

#include <cstdint>

enum class ProcessKind : int8_t {
  NotWatched = -1,
  Shell = 1,
  InternetExplorer = 2,
  NetscapeFamily = 3,
  Aol = 4,
  Aim = 5,
  Morpheus = 6,
  Kazaa = 7,
  OutlookExpress = 8,
  IcqLite = 9,
};

namespace hookrule_detail {

inline char ToUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

inline bool EqualsIgnoringCase(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b) {
    if (ToUpperAscii(*a) != ToUpperAscii(*b)) {
      return false;
    }
  }
  return *a == *b;
}

inline bool Equals(const char* a, const char* b) {
  for (; *a != '\0' && *a == *b; ++a, ++b) {
  }
  return *a == *b;
}

// upperCase: compare the haystack upper-cased (the needle already is).
inline bool Contains(const char* haystack, const char* needle, bool upperCase) {
  for (; *haystack != '\0'; ++haystack) {
    const char* h = haystack;
    const char* n = needle;
    while (*n != '\0' && *h != '\0' && (upperCase ? ToUpperAscii(*h) : *h) == *n) {
      ++h;
      ++n;
    }
    if (*n == '\0') {
      return true;
    }
  }
  return *needle == '\0';
}

inline const char* FileNamePart(const char* path) {
  const char* name = path;
  for (const char* p = path; *p != '\0'; ++p) {
    if (*p == '/' || *p == '\\') {
      name = p + 1;
    }
  }
  return name;
}

struct KindPattern {
  const char* text;
  ProcessKind kind;
};

// Order matters: "IEXPLORE" before "EXPLORER", so the browser is never the shell.
inline constexpr KindPattern kKindPatterns[] = {
    {"IEXPLORE", ProcessKind::InternetExplorer}, {"AOL", ProcessKind::Aol},
    {"AIM", ProcessKind::Aim},                   {"ICQLITE", ProcessKind::IcqLite},
    {"NETSCP", ProcessKind::NetscapeFamily},     {"MOZILLA", ProcessKind::NetscapeFamily},
    {"NETSCP6", ProcessKind::NetscapeFamily},    {"NETSCAPE", ProcessKind::NetscapeFamily},
    {"EXPLORER", ProcessKind::Shell},            {"MORPHEUS", ProcessKind::Morpheus},
    {"KAZAA", ProcessKind::Kazaa},               {"MSIMN", ProcessKind::OutlookExpress},
};

}  // namespace hookrule_detail

// The two classes of AOL's browser frames. The kill report for such a frame
// names its parent.
inline constexpr const char* kAolFrameClasses[] = {"BrowserWindowMDI", "_AOL_EBROWSER_SITE"};

// The program file name (after the last '/' or '\'), upper-cased in ASCII,
// tested for containment in table order. Containment is deliberate: any name
// holding the letters "AOL" counts as AOL.
inline ProcessKind ProcessKindFromPath(const char* programPath) {
  using namespace hookrule_detail;
  const char* name = FileNamePart(programPath);
  for (const KindPattern& pattern : kKindPatterns) {
    if (Contains(name, pattern.text, true)) {
      return pattern.kind;
    }
  }
  return ProcessKind::NotWatched;
}

// Window messages (creation, menus) are ignored in the shell, whose windows
// are never reported, and in programs that are not watched.
inline bool WatchesWindows(ProcessKind kind) {
  return kind != ProcessKind::Shell && kind != ProcessKind::NotWatched;
}
