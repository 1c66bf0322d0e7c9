// The Danish status-line text of a script error, composed in one place.
#pragma once

#include <string>
#include <string_view>

// The text of the expected token that replaces the token text for the codes of a missing token;
// nullptr for the other codes.
const char* ExpectedTokenText(int errorCode);

// The message for errorCode (Windows-1252). tokenText is the token text after the expected-token
// replacement; t is quoted by the run-time codes. Codes without a text give "".
std::string ComposeMessage(int errorCode, std::string_view tokenText, std::string_view lastName, double t);
