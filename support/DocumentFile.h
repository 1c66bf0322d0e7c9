// The document file format: sixteen settings lines, then the script, Windows-1252, CR LF line ends.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tavlix {

using SettingsTexts = std::array<std::string, 16>;

// The settings every new document starts with.
const SettingsTexts& defaultSettings();

struct Document {
    SettingsTexts settings;
    // The script, one entry per line. The editor's final empty line (after its last line break) is never an
    // entry: splitLines of the editor's text leaves it out, and every entry here is written.
    std::vector<std::string> lines;
};

// Splits bytes into lines: CR LF, lone CR or lone LF end a line; a NUL ends the text.
// A last line without an ending is a line; an ending at the very end starts no further line.
std::vector<std::string> splitLines(std::string_view bytes);
// The bytes of a document: every line ends with CR LF.
std::string documentBytes(const Document& doc);

// Files larger than this are refused instead of read: no document comes near it.
inline constexpr std::size_t MaxDocumentBytes = 50u * 1024u * 1024u;

// Paths are the file system's own bytes; the error texts quote them converted to Windows-1252.
struct DocumentReadResult {
    bool ok = false;
    std::string error;  // Windows-1252 message when !ok
    Document doc;
};
// Refuses a file that cannot be read, one over MaxDocumentBytes and one of fewer than 16 lines.
DocumentReadResult readDocument(const std::string& path);
// Writes through a temporary file beside the target, renamed over it: the old file survives any failure.
bool writeDocument(const std::string& path, const Document& doc, std::string& error);
// Why a file operation failed (a system error number), in Danish (Windows-1252).
std::string fileErrorReason(int error);
// ".tvx" appended when the path holds no "." anywhere.
std::string completeFileName(const std::string& path);

}  // namespace tavlix
