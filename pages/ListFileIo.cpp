#include "pages/ListFileIo.h"

#include <cstring>

bool IsListSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view TrimTrailingSpace(std::string_view text)
{
    std::size_t end = text.size();
    while (end > 0 && IsListSpace(text[end - 1])) {
        --end;
    }
    return text.substr(0, end);
}

std::string_view TrimLeadingSpace(std::string_view text)
{
    std::size_t begin = 0;
    while (begin < text.size() && IsListSpace(text[begin])) {
        ++begin;
    }
    return text.substr(begin);
}

LineReader::LineReader(IReadableFile& file) : file(file) {}

bool LineReader::Refill()
{
    if (atEnd) {
        return false;
    }
    std::size_t got = 0;
    if (!file.Read(buffer, sizeof buffer, got)) {
        got = 0;  // a read error ends the file here
    }
    bufferPos = 0;
    bufferEnd = got > sizeof buffer ? sizeof buffer : got;
    atEnd = bufferEnd == 0;
    return !atEnd;
}

bool LineReader::ReadLine(std::string& line)
{
    line.clear();
    bool sawBytes = false;
    for (;;) {
        if (bufferPos == bufferEnd && !Refill()) {
            return sawBytes;
        }
        const char* start = buffer + bufferPos;
        const std::size_t available = bufferEnd - bufferPos;
        const void* lf = std::memchr(start, '\n', available);
        if (lf == nullptr) {
            line.append(start, available);
            bufferPos = bufferEnd;
            sawBytes = true;
            continue;
        }
        const std::size_t length = static_cast<std::size_t>(static_cast<const char*>(lf) - start);
        line.append(start, length);
        bufferPos += length + 1;
        // The CR may have come at the end of the previous chunk; it is the
        // last byte of `line` either way.
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        return true;
    }
}

LineWriter::LineWriter(IWritableFile& file) : file(file) {}

void LineWriter::WriteLine(std::string_view text)
{
    Append(text);
    Append("\r\n");
}

void LineWriter::Append(std::string_view bytes)
{
    while (!bytes.empty() && !writeFailed) {
        if (used == sizeof buffer) {
            Drain();
            continue;
        }
        const std::size_t room = sizeof buffer - used;
        const std::size_t take = bytes.size() < room ? bytes.size() : room;
        std::memcpy(buffer + used, bytes.data(), take);
        used += take;
        bytes.remove_prefix(take);
    }
}

void LineWriter::Drain()
{
    if (used > 0 && !writeFailed && !file.Write(buffer, used)) {
        writeFailed = true;
    }
    used = 0;
}

bool LineWriter::Finish()
{
    Drain();
    return !writeFailed;
}

std::string TemporaryPathFor(const std::string& path)
{
    return path + ".tmp";
}

namespace {

// Writes the whole temporary file; the caller removes it when this fails.
bool WriteTemporary(IFileStore& store, const std::string& tempPath,
                    const std::function<void(LineWriter&)>& produce)
{
    // Creating truncates, so a temporary file left by a crash is overwritten.
    std::unique_ptr<IWritableFile> file = store.CreateForWrite(tempPath);
    if (!file) {
        return false;
    }
    LineWriter writer(*file);
    produce(writer);
    const bool written = writer.Finish() && file->Flush();
    // Closed even after a failure: an open handle without sharing would keep
    // the file from being removed.
    const bool closed = file->Close();
    return written && closed;
}

}  // namespace

bool SaveLinesReplacing(IFileStore& store, const std::string& path,
                        const std::function<void(LineWriter&)>& produce)
{
    const std::string tempPath = TemporaryPathFor(path);
    if (WriteTemporary(store, tempPath, produce) && store.MoveReplacing(tempPath, path)) {
        return true;
    }
    store.Remove(tempPath);
    return false;
}

bool ReadLines(IFileStore& store, const std::string& path, std::size_t maxLines,
               const std::function<bool(std::string_view line, std::size_t index)>& consume)
{
    std::unique_ptr<IReadableFile> file = store.OpenForRead(path);
    if (!file) {
        return false;
    }
    LineReader reader(*file);
    std::string line;
    for (std::size_t index = 0; index < maxLines && reader.ReadLine(line); ++index) {
        if (!consume(line, index)) {
            break;
        }
    }
    return true;
}
