#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "platform/Files.h"

// Line format shared by the list files: 8-bit text, one record per line.
// Reading: LF ends a line and a CR right before it is dropped; a last line
// without a line end counts too; lines have no length limit. Every other
// byte, NUL and a lone CR included, is an ordinary byte of the line, so a
// file with only CR separators is one single line. Writing: CR LF after
// every line, the last one included.

constexpr std::size_t kListBufferSize = 4096;
// Lines read from one list file, blank and ignored ones included.
constexpr std::size_t kMaxListLines = 10000;

// Space, tab, LF, VT, FF and CR; bytes from 0x80 up are never white space.
bool IsListSpace(char c);
std::string_view TrimTrailingSpace(std::string_view text);
std::string_view TrimLeadingSpace(std::string_view text);

class LineReader {
public:
    explicit LineReader(IReadableFile& file);

    // Next line without its line end; false at the end of the file or after
    // a read error. A line cut short by an error is still handed out, as it
    // is all that could be read of it.
    bool ReadLine(std::string& line);

private:
    bool Refill();

    IReadableFile& file;
    char buffer[kListBufferSize];
    std::size_t bufferPos = 0;
    std::size_t bufferEnd = 0;
    bool atEnd = false;
};

// Collects lines in a 4096-byte buffer and writes it out whole. The first
// failed write is remembered and later lines are dropped.
class LineWriter {
public:
    explicit LineWriter(IWritableFile& file);

    void WriteLine(std::string_view text);
    // Writes what is still buffered; false if any write failed.
    bool Finish();

private:
    void Append(std::string_view bytes);
    void Drain();

    IWritableFile& file;
    char buffer[kListBufferSize];
    std::size_t used = 0;
    bool writeFailed = false;
};

// Name of the temporary file a save writes before it replaces `path`.
std::string TemporaryPathFor(const std::string& path);

// Replaces the file at `path` with the lines `produce` writes. The lines go
// to a temporary file beside it first, which is flushed and then renamed
// over the target in one step. On any failure the old file keeps its exact
// content, the temporary file is removed and false comes back.
bool SaveLinesReplacing(IFileStore& store, const std::string& path,
                        const std::function<void(LineWriter&)>& produce);

// Opens `path` and hands each line to `consume` until the file ends, a read
// fails, `maxLines` lines have been handed out or `consume` returns false.
// False when the file could not be opened.
bool ReadLines(IFileStore& store, const std::string& path, std::size_t maxLines,
               const std::function<bool(std::string_view line, std::size_t index)>& consume);
