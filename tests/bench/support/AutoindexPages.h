#pragma once

#include <string>
#include <vector>

// Pages as nginx's autoindex writes them, for the benchmarks of the listing
// reader.

// One entry line: the name padded to column 51, the date, the size
// right-aligned in 20 columns.
inline std::string AutoindexLine(const std::string& name, const std::string& date, const std::string& size = "3")
{
    std::string line = "<a href=\"" + name + "\">" + name + "</a>";
    line += std::string(name.size() < 50 ? 51 - name.size() : 1, ' ');
    line += date;
    line += std::string(size.size() < 20 ? 20 - size.size() : 1, ' ');
    return line + size + "\r\n";
}

inline std::string AutoindexPage(const std::vector<std::string>& lines)
{
    std::string page =
        "<html>\r\n<head><title>Index of /update/</title></head>\r\n<body>\r\n"
        "<h1>Index of /update/</h1><hr><pre><a href=\"../\">../</a>\r\n";
    for (const std::string& line : lines) {
        page += line;
    }
    return page + "</pre><hr></body>\r\n</html>\r\n";
}

// A listing of `entries` lines named Update0.dll, Update1.dll, ...
inline std::string AutoindexPageOf(int entries)
{
    std::vector<std::string> lines;
    for (int i = 0; i < entries; ++i) {
        lines.push_back(AutoindexLine("Update" + std::to_string(i) + ".dll", "07-Dec-2026 06:10",
                                      std::to_string(1000 + i * 37)));
    }
    return AutoindexPage(lines);
}
