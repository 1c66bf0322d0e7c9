// The one table between Windows-1252 bytes and Unicode characters, for the core and the window alike.
#pragma once

#include <string>
#include <string_view>

namespace tavlix {

namespace cp1252 {

// Every byte has a character; the five bytes Windows-1252 leaves undefined map to the C1 controls,
// so that every byte survives a round trip.
char32_t toUnicode(unsigned char byte);

// The byte for a character, or -1 when Windows-1252 cannot hold it.
int fromUnicode(char32_t c);

}  // namespace cp1252

// Windows-1252 bytes as UTF-8, for files and messages outside the program.
std::string utf8FromCp1252(std::string_view bytes);
// UTF-8 as Windows-1252: '?' for each character it cannot hold (two for one beyond the basic plane, as the
// window's conversion gives) and for each byte that is no valid UTF-8.
std::string cp1252FromUtf8(std::string_view utf8);

}  // namespace tavlix
