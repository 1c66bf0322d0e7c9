// The compiler of one script page: lexer, expression compiler, section parser and error report.
// ScriptCompiler.cpp holds the run and the output sections, ScriptDeclarations.cpp the declaring sections.
#pragma once

#include "compiler/ExpressionCompiler.h"
#include "compiler/Lexer.h"
#include "compiler/ListParameters.h"
#include "engine/EngineHost.h"
#include "engine/Model.h"
#include "engine/RunState.h"
#include "support/DocumentFile.h"

#include <chrono>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tavlix {

class FamilyHost;

struct RunResult {
    ScriptError error = ScriptError::None;
    // Where the caret goes: the 0-based offset into the script with CR LF counted as two characters
    // (the token start - 1), and the same place as a 0-based line and byte column. -1 when no error.
    int caretOffset = -1;
    int caretLine = -1;
    int caretColumn = -1;
    std::string message;  // the status-line text (Windows-1252); empty without error
    std::string hint;     // a hint for a common mistake behind the error (Windows-1252); often empty
    // A fault or the user ended the run; the host was told (reportFault when there is a text).
    // error is then None and no message is shown.
    bool abandoned = false;
};

class ScriptCompiler {
public:
    ScriptCompiler();
    ~ScriptCompiler();
    // One whole run: fresh model and run state, settings through the calculator, parse, generate, report.
    // A probe, when given, receives every output value as a number.
    RunResult run(const SettingsTexts& settings, const std::vector<std::string>& lines, const std::string& caption,
                  EngineHost& host, OutputProbe* probe = nullptr);

    // Compiles the script as a run would, but generates nothing, makes no pages and shows nothing: the error the run
    // would stop at before its first output. A check that outlasts the budget is cut off (abandoned, no error).
    RunResult check(const std::vector<std::string>& lines, std::chrono::milliseconds budget);
    // The names the last run or check declared (constants, tables, functions and variables), in lower case.
    const std::vector<std::string>& declaredNames() const { return declaredNames_; }

    // The value each list constant takes in the runs and checks from now on.
    void setPicks(ListPicks picks) { picks_ = std::move(picks); }
    const ListPicks& picks() const { return picks_; }
    // Plain-number constants at other values than written, in the runs and checks from now on.
    void setConstantValues(ConstantValues values) { constantValues_ = std::move(values); }
    // The plain-number constants the last run or check declared, in declaration order, with the values they took.
    const std::vector<PlainConstant>& plainConstants() const { return plainConstants_; }
    // Whether the runs show only the first few notices (the default), or pass every one on to a run that counts
    // them itself (a family's member).
    void setNoticeLimit(bool limits) { limitsNotices_ = limits; }
    // The list constant (lower case) whose values make every graph a family of curves; empty for none.
    void setFamily(std::string key) { familyKey_ = std::move(key); }
    // The list constants the last run or check declared, in declaration order, each with the value it took.
    const std::vector<ListParameter>& listParameters() const { return listParameters_; }

    // The result pages this page's runs have made so far: their captions are numbered on.
    int resultPageCount() const { return resultPageCount_; }
    // The model of the latest run; nullptr before the first.
    const Model* lastModel() const { return model_.get(); }
    // Hands the model of the latest run or check over to the caller, to evaluate its records further.
    std::unique_ptr<Model> takeModel() { return std::move(model_); }

private:
    // The section parser: declarations, then every output section with its generation.
    void parseScript(const std::string& caption);
    int declareName(int& count, int limit, NameKind kind);
    // The record of an output variable's name, or -1 when the name is no function, variable or t.
    int findOutputRecord() const;
    // The table an output variable's name stands for, or 0 when it names none.
    int findOutputTable() const;
    // Fails with UnknownName when unknown is true, noting whether the name is a table.
    bool failUnknownOutput(bool unknown);
    // Composes the message of the error and shows it through the host; returns the text.
    std::string reportError(EngineHost& host);
    void parseConstants();
    void parseListConstant(int constant, const std::string& key, const std::string& writtenName);
    // The value of a constant just computed, or the one set for it when the script gives it as a plain number.
    double plainConstantValue(double computed, const std::string& key, const std::string& writtenName);
    void parseTables();
    void parseTable(TablePoint* buffer);
    void parseDifferentialEquations();
    void parseFunctions();
    void parseOutputSections(const std::string& caption);
    void parseTableOutput();
    void parseGraphOutput();
    OutputVariable* startOutputEntry();
    bool tableEntryEnds() const;
    void adoptGenerationError(ScriptError error);
    void keepIntegrationForLaterSections();
    // Runs the other members of the family into its pages; a member's script error fills failure.
    void runFamilyMembers(FamilyHost& family, const SettingsTexts& settings, const std::vector<std::string>& lines,
                          const std::string& caption, RunResult& failure);
    // Keeps the parse's declared names for the hints and the editor, before the name table is cleared.
    void keepDeclaredNames();
    void fillCaret(RunResult& result, const std::vector<std::string>& lines) const;
    // The lines as the lexer reads them: each ended by CR LF, as in a document.
    static std::string sourceOf(const std::vector<std::string>& lines);
    // What a run or a check reports once the script is read: abandoned (with its fault) or its error and caret.
    RunResult endRun(const RunState& state, const std::vector<std::string>& lines, EngineHost& host);

    Lexer lexer_;
    ExpressionCompiler expressions_{lexer_};
    std::unique_ptr<Model> model_;
    RunState* run_ = nullptr;  // the state of the run in progress
    int resultPageCount_ = 0;
    bool generates_ = true;  // false during a check
    std::vector<std::string> declaredNames_;
    int firstTokenStart_ = 0;  // where the script's first word stands: an error there precedes every section
    ListPicks picks_;
    std::string familyKey_;
    bool outputNamesTable_ = false;  // the run stopped at a table's name where an output variable belongs
    std::vector<ListParameter> listParameters_;
    ConstantValues constantValues_;
    std::vector<PlainConstant> plainConstants_;
    bool limitsNotices_ = true;
};

}  // namespace tavlix
