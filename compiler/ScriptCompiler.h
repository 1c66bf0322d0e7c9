// The compiler of one script page: lexer, expression compiler, section parser and diagnostics.
#pragma once

#include "engine/EngineHost.h"
#include "engine/Model.h"
#include "support/DocumentFile.h"

#include <memory>
#include <string>
#include <vector>

struct RunResult {
    int ErrorCode = 0;
    // Where the caret goes: the 0-based offset into the script with CR LF counted as two characters
    // (TokenStart - 1), and the same place as a 0-based line and byte column. -1 when no error.
    int CaretOffset = -1;
    int CaretLine = -1;
    int CaretColumn = -1;
    std::string Message;  // the status-line text (Windows-1252); empty without error
    bool Abandoned = false;  // a fault or the user ended the run; the host was told
};

class ScriptCompiler {
public:
    ScriptCompiler();
    ~ScriptCompiler();
    // One whole run: fresh model, settings through the calculator, parse, generate, report.
    RunResult Run(const SettingsTexts& settings, const std::vector<std::string>& lines,
                  const std::string& caption, EngineHost& host);

    int ResultCount = 0;
    std::unique_ptr<datarec> Model;
    // The compiler's internals follow (lexer state, parse routines); see ScriptCompiler.cpp.
};
