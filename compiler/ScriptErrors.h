// The Danish status-line text of a script error, composed in one place.
#pragma once

#include "engine/ScriptError.h"

#include <string>
#include <string_view>

namespace tavlix {

// The text of the expected token that replaces the token text for the errors of a missing token;
// nullptr for the other errors.
const char* expectedTokenText(ScriptError error);

// The message of the error (Windows-1252). tokenText is the token text after the expected-token
// replacement; lastName is the last name read in this run (the token is quoted when it is empty); t is quoted
// by the run-time errors. Errors without a text give "".
std::string errorMessage(ScriptError error, std::string_view tokenText, std::string_view lastName, double t);

// The message of a value that cannot be computed while the script is read: it names what is declared, since
// there is no t yet to quote.
std::string declarationFailureMessage(std::string_view declared);

}  // namespace tavlix
