// The one table between Windows-1252 bytes and Unicode characters, for the core and the window alike.
#pragma once

namespace Cp1252 {

// Every byte has a character; the five bytes Windows-1252 leaves undefined map to the C1 controls,
// so that every byte survives a round trip.
char32_t ToUnicode(unsigned char byte);

// The byte for a character, or -1 when Windows-1252 cannot hold it.
int FromUnicode(char32_t c);

}  // namespace Cp1252
