// A whole script compiled once: its model, its output sections in order, and the first error with where it stands.
#pragma once

#include "compiler/ListParameters.h"
#include "engine/Model.h"
#include "engine/Notice.h"
#include "engine/ScriptError.h"
#include "support/DocumentFile.h"

#include <memory>
#include <string>
#include <vector>

namespace tavlix {

// A token where an error may point: what its caret, message and hint need.
struct ErrorPlace {
    int tokenStart = 0;     // 1-based position of the token in the script's text (lines ended by CR LF)
    std::string tokenText;  // the token as the messages quote it
    std::string lastName;   // the last word read up to there
    // The caret: the 0-based offset (token start - 1), and the same place as a 0-based line and byte column.
    int caretOffset = -1;
    int caretLine = -1;
    int caretColumn = -1;
    bool hasLine = false;     // the script has a line for the caret (the hint is looked for only then)
    std::string line;         // the caret's line, for the hint
    bool endsScript = false;  // the token is the script's end: no section follows
};

// One output section: its variables from entry 1 (entry 0 is unused), and the token after it, where an error of
// its generation points.
struct OutputSection {
    bool graph = false;
    std::vector<OutputVariable> outputs;
    ErrorPlace end;
};

// A notice met while a constant was computed; a run shows it again before its first page.
struct RecordedNotice {
    bool isText = false;
    Notice notice = Notice::Overflow;
    double t = 0;
    std::string text;
};

struct CompiledProgram {
    // The compiled script, not to be changed: every run evaluates a copy of its own.
    std::shared_ptr<const Model> model;
    CoordinateSettings settings;     // computed from the settings' texts
    std::string unreadableSettings;  // the notice of settings that could not be computed; empty when all could
    std::vector<RecordedNotice> notices;
    std::vector<OutputSection> sections;  // every section read before the error, in order

    // The first error, after every section above: the run reports it once those ran fine.
    ScriptError error = ScriptError::None;
    ErrorPlace errorPlace;
    std::string failedName;          // what could not be computed, for CannotCompute
    bool declarationFailed = false;  // a declared value could not be computed: the message names it
    // The compile was interrupted (by the user, or by a fault with its text in Windows-1252).
    bool abandoned = false;
    std::string faultText;

    int firstTokenStart = 0;        // where the script's first word stands: an error there precedes every section
    bool outputNamesTable = false;  // the error stands at a table's name where an output variable belongs
    std::vector<std::string> declaredNames;  // in lower case, for the hints and the editor
    std::vector<ListParameter> listParameters;
    std::vector<PlainConstant> plainConstants;
};

// Computes the settings' texts into the program: 0 for any that cannot be computed, with a notice that says so.
// A program compiled once may so run under other settings (the accuracy check's reference).
void computeSettings(const SettingsTexts& settings, CompiledProgram& program);

}  // namespace tavlix
