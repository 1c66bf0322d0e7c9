// The document file format: sixteen settings lines, then the script, Windows-1252, CR LF line ends.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

using SettingsTexts = std::array<std::string, 16>;

// The settings every new document starts with.
const SettingsTexts& DefaultSettings();

struct Document {
    SettingsTexts Settings;
    std::vector<std::string> Lines;  // the script, one entry per editor line
};

// Splits bytes into lines: CR LF, lone CR or lone LF end a line; a NUL ends the text.
std::vector<std::string> SplitLines(std::string_view bytes);
// The bytes of a document: every line ends with CR LF.
std::string DocumentBytes(const Document& doc);

struct ReadResult {
    bool ok = false;
    std::string error;  // Windows-1252 message when !ok
    Document doc;
};
ReadResult ReadDocument(const std::string& path);
// Writes through a temporary file beside the target, renamed over it: the old file survives any failure.
bool WriteDocument(const std::string& path, const Document& doc, std::string& error);
// ".tvx" appended when the path holds no "." anywhere.
std::string CompleteFileName(const std::string& path);
