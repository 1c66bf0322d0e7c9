// The compiler of one script page: lexer, expression compiler, section parser; compile, then run the program.
// ScriptCompiler.cpp holds the compile and the run, ScriptDeclarations.cpp the declaring sections,
// ScriptOutputs.cpp the output sections.
#pragma once

#include "compiler/CompiledProgram.h"
#include "compiler/ExpressionCompiler.h"
#include "compiler/Lexer.h"
#include "compiler/ListParameters.h"
#include "compiler/ProgramRun.h"
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
class FamilyMembers;

class ScriptCompiler {
public:
    ScriptCompiler();
    ~ScriptCompiler();
    // One whole run: the program compiled from these texts (the last one again when nothing changed), then run;
    // settings through the calculator. A probe, when given, receives every output value as a number.
    RunResult run(const SettingsTexts& settings, const std::vector<std::string>& lines, const std::string& caption,
                  EngineHost& host, OutputProbe* probe = nullptr);
    // A run as a refresh tries it first: its pages are numbered from 1 and do not count for the later runs, and
    // it draws no family. The program stays for the run that follows.
    RunResult rehearse(const SettingsTexts& settings, const std::vector<std::string>& lines, const std::string& caption,
                       EngineHost& host);

    // The one compile: the whole script into a program, with the list constants at picks and the plain-number
    // constants at values. watch, when given, may interrupt a long compile through keepGoing; notices met while
    // computing constants are kept in the program for its runs.
    CompiledProgram compile(const SettingsTexts& settings, const std::vector<std::string>& lines,
                            const ListPicks& picks, const ConstantValues& values, EngineHost* watch = nullptr);

    // Compiles the script and reports its error, without settings, pages or showing anything. A check that
    // outlasts the budget is cut off (abandoned, no error).
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
    // The model of the latest run as it ended, or of the latest check as compiled; nullptr before the first.
    const Model* lastModel() const { return runModel_ ? runModel_.get() : checkedModel_.get(); }

private:
    // A member of a family that ended the run: its program and its run, which report the error.
    struct MemberEnd {
        std::shared_ptr<const CompiledProgram> program;
        std::unique_ptr<ProgramRun> run;
    };

    // The program of these texts: the last one when the texts are the same, else a new compile.
    std::shared_ptr<const CompiledProgram> programFor(const SettingsTexts& settings,
                                                      const std::vector<std::string>& lines, EngineHost& watch);
    // Keeps what the program declared for the editor, the sliders and the fit.
    void adoptDeclarations(const CompiledProgram& program);
    // The section parser: declarations, then every output section.
    void parseScript(const std::vector<std::string>& lines, std::vector<OutputSection>& sections);
    int declareName(int& count, int limit, NameKind kind);
    // Where the current token stands, for an error there: its text, the last name and the caret.
    ErrorPlace placeHere(const std::vector<std::string>& lines) const;
    // The record of an output variable's name, or -1 when the name is no function, variable or t.
    int findOutputRecord() const;
    // The table an output variable's name stands for, or 0 when it names none.
    int findOutputTable() const;
    // Fails with UnknownName when unknown is true, noting whether the name is a table.
    bool failUnknownOutput(bool unknown);
    void parseConstants();
    void parseListConstant(int constant, const std::string& key, const std::string& writtenName);
    // The value of a constant just computed, or the one set for it when the script gives it as a plain number.
    double plainConstantValue(double computed, const std::string& key, const std::string& writtenName);
    void parseTables();
    void parseTable();
    void parseDifferentialEquations();
    void parseFunctions();
    void parseOutputSections(const std::vector<std::string>& lines, std::vector<OutputSection>& sections);
    void parseTableOutput();
    void parseGraphOutput();
    OutputVariable* startOutputEntry();
    bool tableEntryEnds() const;
    // Starts the other members of the family on threads of their own, to run beside the first run; null when the
    // run draws no family.
    std::unique_ptr<FamilyMembers> startFamilyMembers(FamilyHost& family, const CompiledProgram& program,
                                                      const SettingsTexts& settings,
                                                      const std::vector<std::string>& lines, const std::string& caption,
                                                      OutputProbe* probe);
    // Hands the members to the family's pages after a first run that ended well; a member's script error fills
    // failure, and a member's fault or a stop abandons the first run.
    void runFamilyMembers(FamilyHost& family, ProgramRun& first, FamilyMembers& members, RunResult& failure);
    // Keeps the parse's declared names for the hints and the editor, before the name table is cleared.
    std::vector<std::string> parsedNames();
    // The lines as the lexer reads them: each ended by CR LF, as in a document.
    static std::string sourceOf(const std::vector<std::string>& lines);

    // The texts a program was compiled from: the same texts give the same program.
    struct ProgramKey {
        SettingsTexts settings;
        std::vector<std::string> lines;
        ListPicks picks;
        ConstantValues values;
        bool operator==(const ProgramKey&) const = default;
    };

    Lexer lexer_;
    ExpressionCompiler expressions_{lexer_};
    Model* model_ = nullptr;   // the model being compiled
    RunState* run_ = nullptr;  // the compile's own state, for the constants it computes
    const ListPicks* compilePicks_ = nullptr;
    const ConstantValues* compileValues_ = nullptr;
    std::vector<ListParameter>* compileLists_ = nullptr;
    std::vector<PlainConstant>* compilePlain_ = nullptr;
    std::unique_ptr<Model> runModel_;                 // the latest run's
    std::shared_ptr<const Model> checkedModel_;       // the latest check's
    std::shared_ptr<const CompiledProgram> program_;  // the latest run's program, and the texts it came from
    ProgramKey programKey_;
    int resultPageCount_ = 0;
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
