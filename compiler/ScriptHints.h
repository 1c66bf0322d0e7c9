// Hints for the common mistakes behind a script error, shown under the error's own text.
#pragma once

#include "compiler/NameSuggestions.h"
#include "engine/ScriptError.h"

#include <string>
#include <string_view>
#include <vector>

namespace tavlix {

// What the hints look at: the error, the line it stands in and where, and the token the message quotes.
struct HintContext {
    ScriptError error = ScriptError::None;
    std::string_view line;  // Windows-1252, as typed
    int column = 0;         // 0-based: where the caret goes
    std::string_view tokenText;
    std::string_view lastName;  // the last name read in this run; empty before the first
    // The names the script declared before the error, in lower case: the misspellings are compared with them.
    const std::vector<std::string>* declaredNames = nullptr;
    // The error stands at the script's first word: no section word has been read.
    bool beforeSections = false;
    bool tableAsOutput = false;  // the quoted name is a table, written where an output variable belongs
};

// The hint of the first rule that fits (Windows-1252); empty when none does.
std::string errorHint(const HintContext& context);

}  // namespace tavlix
