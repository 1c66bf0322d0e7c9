// Fuzzes document reading on arbitrary bytes: splitting, and a write-and-read round trip of what was read.
#include "support/DocumentFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

using namespace tavlix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines = splitLines(bytes);
    for (const std::string& line : lines)
        if (line.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
            std::abort();

    // Whatever the reader accepts, the writer writes back so that it reads the same.
    if (lines.size() >= 16) {
        Document doc;
        for (std::size_t i = 0; i < 16; ++i)
            doc.settings[i] = lines[i];
        doc.lines.assign(lines.begin() + 16, lines.end());
        std::string written = documentBytes(doc);
        if (splitLines(written) != lines)
            std::abort();
        if (written.size() < 2 || written.compare(written.size() - 2, 2, "\r\n") != 0)
            std::abort();
    }
    std::string path(bytes.substr(0, bytes.find('\0')));
    std::string completed = completeFileName(path);
    if (completed.compare(0, path.size(), path) != 0)
        std::abort();
    return 0;
}
