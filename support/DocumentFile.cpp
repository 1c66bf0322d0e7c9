// Reads and writes document files: sixteen settings lines and the script, with safe replacement on save.
#include "support/DocumentFile.h"

#include "support/AtomicFile.h"
#include "support/Cp1252Table.h"

#include <cerrno>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavlix {

namespace {

constexpr std::size_t SettingsLineCount = 16;

char toCp1252(char32_t c)
{
    const int b = cp1252::fromUnicode(c);
    return b < 0 ? '?' : static_cast<char>(b);
}

// A path as the messages quote it: UTF-8 names become Windows-1252; bytes that are no UTF-8 pass unchanged.
std::string pathForMessage(const std::string& path)
{
    std::string out;
    std::size_t i = 0;
    while (i < path.size()) {
        auto b = static_cast<unsigned char>(path[i]);
        int extra = b >= 0xF0 && b < 0xF5 ? 3 : b >= 0xE0 && b < 0xF0 ? 2 : b >= 0xC2 && b < 0xE0 ? 1 : 0;
        char32_t c = b & (0x3F >> extra);
        bool valid = extra > 0 && i + extra < path.size();
        for (int k = 1; valid && k <= extra; ++k) {
            auto t = static_cast<unsigned char>(path[i + k]);
            valid = (t & 0xC0) == 0x80;
            c = (c << 6) | (t & 0x3F);
        }
        if (valid) {
            out += toCp1252(c);
            i += 1 + extra;
        } else {
            out += path[i];
            ++i;
        }
    }
    return out;
}

// Why a file operation failed, in Danish (Windows-1252).
std::string reasonText(int err)
{
    switch (err) {
    case ENOENT: return "filen eller mappen findes ikke";
    case EACCES:
    case EPERM: return "adgang n\xE6gtet";
    case EISDIR: return "det er en mappe";
    case ENOTDIR: return "en del af stien er ikke en mappe";
    case ENOSPC: return "der er ikke mere plads p\xE5 disken";
    case EDQUOT: return "diskkvoten er brugt op";
    case EROFS: return "filsystemet er skrivebeskyttet";
    case ENAMETOOLONG: return "navnet er for langt";
    case EFBIG: return "filen bliver for stor";
    case EIO: return "fejl ved l\xE6sning eller skrivning p\xE5 disken";
    default: return "fejl nummer " + std::to_string(err);
    }
}

std::string quoted(const std::string& path)
{
    return "\"" + pathForMessage(path) + "\"";
}

std::string tooBigMessage(const std::string& path)
{
    return "Filen " + quoted(path) + " er for stor til at v\xE6re et dokument (over " +
           std::to_string(MaxDocumentBytes / (1024 * 1024)) + " MB).";
}

// Reads the whole file, or says why not. Stops one byte past the size limit.
bool readAll(const std::string& path, std::string& bytes, std::string& error)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error =
            "Kan ikke \xE5"
            "bne filen " +
            quoted(path) + ": " + reasonText(errno) + ".";
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<std::size_t>(st.st_size) > MaxDocumentBytes) {
        ::close(fd);
        error = tooBigMessage(path);
        return false;
    }
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = "Kan ikke l\xE6se filen " + quoted(path) + ": " + reasonText(errno) + ".";
            ::close(fd);
            return false;
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
        if (bytes.size() > MaxDocumentBytes) {
            ::close(fd);
            error = tooBigMessage(path);
            return false;
        }
    }
    ::close(fd);
    return true;
}

// A line break or NUL inside a setting would shift every later line of the file; they become spaces.
void appendLine(std::string& out, std::string_view line, bool isSetting)
{
    for (char c : line) {
        bool breaks = c == '\0' || (isSetting && (c == '\r' || c == '\n'));
        out += breaks ? ' ' : c;
    }
    out += "\r\n";
}

// Saving through a link replaces the file it points to, not the link.
std::string resolvedTarget(const std::string& path)
{
    std::error_code ec;
    if (std::filesystem::is_symlink(path, ec)) {
        auto real = std::filesystem::weakly_canonical(path, ec);
        if (!ec)
            return real.string();
    }
    return path;
}

}  // namespace

const SettingsTexts& defaultSettings()
{
    static const SettingsTexts Defaults = {"-5", "10", "1",   "0", "-5", "5",       "1", "0",
                                           "-5", "10", "200", "0", "0",  "0.00005", "0", "0"};
    return Defaults;
}

std::vector<std::string> splitLines(std::string_view bytes)
{
    bytes = bytes.substr(0, bytes.find('\0'));
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        lines.emplace_back(bytes.substr(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.emplace_back(bytes.substr(start));
    return lines;
}

std::string documentBytes(const Document& doc)
{
    std::string out;
    for (const std::string& s : doc.settings)
        appendLine(out, s, true);
    for (const std::string& line : doc.lines)
        appendLine(out, line, false);
    return out;
}

DocumentReadResult readDocument(const std::string& path)
{
    DocumentReadResult result;
    std::string bytes;
    if (!readAll(path, bytes, result.error))
        return result;
    std::vector<std::string> lines = splitLines(bytes);
    if (lines.size() < SettingsLineCount) {
        result.error = "Filen " + quoted(path) + " er ikke et dokument: den har " + std::to_string(lines.size()) +
                       (lines.size() == 1 ? " linje" : " linjer") +
                       ", men et dokument begynder med 16 linjer med koordinatindstillinger.";
        return result;
    }
    for (std::size_t i = 0; i < SettingsLineCount; ++i)
        result.doc.settings[i] = std::move(lines[i]);
    result.doc.lines.assign(std::make_move_iterator(lines.begin() + SettingsLineCount),
                            std::make_move_iterator(lines.end()));
    result.ok = true;
    return result;
}

bool writeDocument(const std::string& path, const Document& doc, std::string& error)
{
    const std::string target = resolvedTarget(path);
    // Replacing by rename would also replace a write-protected file; the protection is honoured instead.
    if (::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0) {
        error = "Kan ikke gemme filen " + quoted(path) + ": " + reasonText(errno) + ".";
        return false;
    }
    AtomicFile file;
    if (!file.open(target)) {
        error = "Kan ikke oprette filen " + quoted(path) + ": " + reasonText(file.failure()) + ".";
        return false;
    }
    const std::string bytes = documentBytes(doc);
    std::fwrite(bytes.data(), 1, bytes.size(), file.stream());
    // A saved document is on the disk before the save says so.
    if (!file.commit(true)) {
        const bool replacing = file.failedStep() == AtomicFile::Step::Replace;
        error = (replacing ? "Kan ikke gemme filen " : "Kan ikke skrive filen ") + quoted(path) + ": " +
                reasonText(file.failure()) + ".";
        return false;
    }
    return true;
}

std::string completeFileName(const std::string& path)
{
    return path.find('.') == std::string::npos ? path + ".tvx" : path;
}

std::string fileErrorReason(int error)
{
    return reasonText(error);
}

}  // namespace tavlix
