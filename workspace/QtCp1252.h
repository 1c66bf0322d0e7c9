// Conversion between Qt's text and the Windows-1252 bytes that documents and the core work in.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace qt_cp1252 {

// Every byte has a character; the five bytes Windows-1252 leaves undefined map to the C1 controls.
QString toQString(std::string_view bytes);

// One byte per UTF-16 unit, so columns stay aligned; a unit with no byte becomes '?'.
std::string fromQString(const QString& text);

// The distinct characters of text that Windows-1252 cannot store, in order of first appearance.
QString unstorableChars(const QString& text);

}  // namespace qt_cp1252
