// Windows-1252 differs from Latin-1 only in 0x80-0x9F; that block is a table, the rest is the identity.
#include "support/Cp1252Table.h"

namespace tavlix {

namespace {

// Bytes 0x80 to 0x9F; the undefined ones keep their C1 control code.
constexpr char32_t HighBlock[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

namespace cp1252 {

char32_t toUnicode(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? HighBlock[byte - 0x80] : char32_t(byte);
}

int fromUnicode(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<int>(c);
    for (int i = 0; i < 32; ++i)
        if (HighBlock[i] == c)
            return 0x80 + i;
    return -1;
}

}  // namespace cp1252

namespace {

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The length of the UTF-8 sequence at s[i] and its character; 0 when the bytes there are no valid sequence.
std::size_t decodeUtf8(std::string_view s, std::size_t i, char32_t& c)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b = byte(i);
    std::size_t n = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
    if (n == 0 || i + n > s.size())
        return 0;
    c = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
    for (std::size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    constexpr char32_t Smallest[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < Smallest[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return n;
}

}  // namespace

std::string utf8FromCp1252(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char b : bytes)
        appendUtf8(out, cp1252::toUnicode(b));
    return out;
}

std::string cp1252FromUtf8(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        const std::size_t n = decodeUtf8(utf8, i, c);
        if (n == 0) {
            out += '?';
            ++i;
            continue;
        }
        i += n;
        if (c > 0xFFFF) {
            out += "??";
            continue;
        }
        const int b = cp1252::fromUnicode(c);
        out += b < 0 ? '?' : static_cast<char>(b);
    }
    return out;
}

}  // namespace tavlix
