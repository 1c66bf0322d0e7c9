// The compiler of one script page: lexer, expression compiler, section parser and diagnostics.
#pragma once

#include "compiler/ExpressionCompiler.h"
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
    // A fault or the user ended the run; the host was told (GeneralError when there is a text).
    // ErrorCode is then 0 and no message is shown.
    bool Abandoned = false;
};

// The lexer and the expression compiler are its bases; the model of the latest run is the
// inherited Model.
class ScriptCompiler : public ExpressionCompiler {
public:
    ScriptCompiler();
    ~ScriptCompiler();
    // One whole run: fresh model, settings through the calculator, parse, generate, report.
    RunResult Run(const SettingsTexts& settings, const std::vector<std::string>& lines,
                  const std::string& caption, EngineHost& host);

    int ResultCount = 0;

    // The section parser: declarations, then every output section with its generation.
    void pparse(const std::string& caption, int& resultCount);
    void KonstIdInstall();
    void TabIdInstall();
    bool idfuncsearch();
    // Composes the message of ErrorCode and shows it through the host; returns the text.
    std::string MeddelFejl(EngineHost& host);

private:
    void ParseConstants();
    void ParseListConstant(int constant);
    void ParseTables();
    void ParseTable();
    void ParseDifferentialEquations();
    void ParseFunctions();
    void ParseOutputSections(const std::string& caption, int& resultCount);
    void ParseTableOutput();
    void ParseGraphOutput();
    bool TableEntryEnds() const;
    void TakeOverEngineError(int code);
    void FillCaret(RunResult& result, const std::vector<std::string>& lines) const;
};
