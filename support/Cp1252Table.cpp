// Windows-1252 differs from Latin-1 only in 0x80-0x9F; that block is a table, the rest is the identity.
#include "support/Cp1252Table.h"

namespace {

// Bytes 0x80 to 0x9F; the undefined ones keep their C1 control code.
constexpr char32_t HighBlock[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

namespace Cp1252 {

char32_t ToUnicode(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? HighBlock[byte - 0x80] : char32_t(byte);
}

int FromUnicode(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<int>(c);
    for (int i = 0; i < 32; ++i)
        if (HighBlock[i] == c)
            return 0x80 + i;
    return -1;
}

}  // namespace Cp1252
