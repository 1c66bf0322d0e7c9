// Compiles a whole script page into a program, and runs the program: the settings, the parse and the report.
#include "compiler/ScriptCompiler.h"

#include "compiler/FamilyHost.h"
#include "compiler/FamilyMembers.h"
#include "compiler/NoticeLimiter.h"
#include "support/SettingsCalculator.h"

#include <algorithm>
#include <string>
#include <vector>

namespace tavlix {

namespace {

constexpr const char* SettingNames[16] = {"Xmin",    "Xmax",    "XEnhed",  "YCross", "YMin",   "YMax",
                                          "YEnhed",  "XCross",  "TMin",    "TMax",   "TAntal", "TDelta",
                                          "Absolut", "Relativ", "XGitter", "YGitter"};

// A setting that cannot be computed counts as 0; the user is told which, so that a damaged file is noticed.
std::string unreadableSettingsNotice(const std::vector<int>& failed)
{
    std::string names;
    for (std::size_t i = 0; i < failed.size(); ++i)
        names += (i == 0 ? "" : i + 1 == failed.size() ? " og " : ", ") + std::string(SettingNames[failed[i]]);
    const bool one = failed.size() == 1;
    return std::string(one ? "Koordinatindstillingen " : "Koordinatindstillingerne ") + names +
           " kan ikke beregnes; 0 bruges i stedet. Ret " + (one ? "den" : "dem") + " under Koordinater (F8).";
}

// Keeps the notices of the constants for the program's runs; a watcher may interrupt the compile.
class NoticeRecorder : public EngineHost {
public:
    NoticeRecorder(std::vector<RecordedNotice>& notices, EngineHost* watch) : notices_(notices), watch_(watch) {}
    TableSink* createTablePage(const std::string&) override { return nullptr; }
    GraphSink* createGraphPage(const std::string&) override { return nullptr; }
    void showNotice(Notice notice, double t) override { notices_.push_back({false, notice, t, {}}); }
    void showNoticeText(const std::string& text) override { notices_.push_back({true, Notice::Overflow, 0, text}); }
    void reportFault(const std::string&) override {}
    void showScriptError(const std::string&) override {}
    bool keepGoing() override { return !watch_ || watch_->keepGoing(); }
    bool keepStepping() override { return !watch_ || watch_->keepStepping(); }

private:
    std::vector<RecordedNotice>& notices_;
    EngineHost* watch_;
};

// Makes no pages and shows nothing; refuses to go on once the budget is spent.
class CheckHost : public EngineHost {
public:
    explicit CheckHost(std::chrono::milliseconds budget) : deadline_(std::chrono::steady_clock::now() + budget) {}
    TableSink* createTablePage(const std::string&) override { return nullptr; }
    GraphSink* createGraphPage(const std::string&) override { return nullptr; }
    void showNoticeText(const std::string&) override {}
    void reportFault(const std::string&) override {}
    void showScriptError(const std::string&) override {}
    bool keepGoing() override { return std::chrono::steady_clock::now() < deadline_; }
    bool keepStepping() override { return keepGoing(); }

private:
    std::chrono::steady_clock::time_point deadline_;
};

}  // namespace

void computeSettings(const SettingsTexts& settings, CompiledProgram& program)
{
    std::vector<int> failed;
    for (std::size_t i = 0; i < settings.size(); ++i) {
        const CalcResult r = evaluate(settings[i]);
        program.settings.values[i] = r.error == CalcError::None ? r.value : 0.0;
        if (r.error != CalcError::None)
            failed.push_back(static_cast<int>(i));
    }
    program.unreadableSettings = failed.empty() ? std::string() : unreadableSettingsNotice(failed);
}

ScriptCompiler::ScriptCompiler() = default;
ScriptCompiler::~ScriptCompiler() = default;

CompiledProgram ScriptCompiler::compile(const SettingsTexts& settings, const std::vector<std::string>& lines,
                                        const ListPicks& picks, const ConstantValues& values, EngineHost* watch)
{
    CompiledProgram program;
    computeSettings(settings, program);
    NoticeRecorder recorder(program.notices, watch);
    RunState state;
    state.host = &recorder;
    auto model = std::make_shared<Model>();
    model->script.settings = program.settings;
    model_ = model.get();
    run_ = &state;
    compilePicks_ = &picks;
    compileValues_ = &values;
    compileLists_ = &program.listParameters;
    compilePlain_ = &program.plainConstants;
    lexer_.startReading(sourceOf(lines));
    parseScript(lines, program.sections);
    program.declaredNames = parsedNames();
    expressions_.endParse();
    program.abandoned = state.abandoned;
    program.faultText = state.faultText.str();
    program.error = lexer_.error();
    if (lexer_.failed())
        program.errorPlace = placeHere(lines);
    program.failedName = state.failedName.str();
    program.declarationFailed = expressions_.constantFailed();
    program.firstTokenStart = firstTokenStart_;
    program.outputNamesTable = outputNamesTable_;
    lexer_.stopReading();
    // The sections keep their own outputs; every run sizes its solver state to the script.
    model->script.outputs.assign(1, OutputVariable{});
    model->script.outputCount = 0;
    program.model = std::move(model);
    model_ = nullptr;
    run_ = nullptr;
    return program;
}

std::shared_ptr<const CompiledProgram> ScriptCompiler::programFor(const SettingsTexts& settings,
                                                                  const std::vector<std::string>& lines,
                                                                  EngineHost& watch)
{
    ProgramKey key{settings, lines, picks_, constantValues_};
    if (program_ && key == programKey_)
        return program_;
    auto program = std::make_shared<const CompiledProgram>(compile(settings, lines, picks_, constantValues_, &watch));
    // An interrupted compile is no program to keep.
    if (program->abandoned) {
        program_.reset();
        return program;
    }
    program_ = program;
    programKey_ = std::move(key);
    return program;
}

void ScriptCompiler::adoptDeclarations(const CompiledProgram& program)
{
    declaredNames_ = program.declaredNames;
    listParameters_ = program.listParameters;
    plainConstants_ = program.plainConstants;
}

RunResult ScriptCompiler::run(const SettingsTexts& settings, const std::vector<std::string>& lines,
                              const std::string& caption, EngineHost& host, OutputProbe* probe)
{
    NoticeLimiter limiter(host, limitsNotices_);
    FamilyHost family(limiter, listParameters_, familyKey_);
    EngineHost& runHost = familyKey_.empty() ? static_cast<EngineHost&>(limiter) : family;
    const std::shared_ptr<const CompiledProgram> program = programFor(settings, lines, runHost);
    adoptDeclarations(*program);
    if (!program->unreadableSettings.empty())
        host.showNoticeText(program->unreadableSettings);
    // The compiled program already names the family's values, so its members need not wait for the first run.
    const std::unique_ptr<FamilyMembers> members =
        startFamilyMembers(family, *program, settings, lines, caption, probe);
    ProgramRun first(*program, runHost, probe);
    first.execute(caption, resultPageCount_);
    runModel_ = first.takeModel();
    RunResult memberFailure;
    if (members)
        runFamilyMembers(family, first, *members, memberFailure);
    limiter.sumUp();
    if (memberFailure.error != ScriptError::None) {
        host.showScriptError(memberFailure.message);
        return memberFailure;
    }
    return first.finish(host);
}

RunResult ScriptCompiler::rehearse(const SettingsTexts& settings, const std::vector<std::string>& lines,
                                   const std::string& caption, EngineHost& host)
{
    const int pageCount = resultPageCount_;
    std::string family;
    std::swap(family, familyKey_);
    resultPageCount_ = 0;
    const RunResult result = run(settings, lines, caption, host);
    resultPageCount_ = pageCount;
    familyKey_ = std::move(family);
    return result;
}

RunResult ScriptCompiler::check(const std::vector<std::string>& lines, std::chrono::milliseconds budget)
{
    CheckHost host(budget);
    CompiledProgram program = compile(SettingsTexts{}, lines, picks_, constantValues_, &host);
    adoptDeclarations(program);
    runModel_.reset();
    checkedModel_ = program.model;
    return ProgramRun::compileResult(program);
}

std::vector<std::string> ScriptCompiler::parsedNames()
{
    // t and pi are the language's own, not the script's.
    std::vector<std::string> declared;
    for (std::string& name : expressions_.names().names())
        if (name != "t" && name != "pi")
            declared.push_back(std::move(name));
    return declared;
}

std::string ScriptCompiler::sourceOf(const std::vector<std::string>& lines)
{
    std::string source;
    for (const std::string& line : lines)
        source += line + "\r\n";
    return source;
}

ErrorPlace ScriptCompiler::placeHere(const std::vector<std::string>& lines) const
{
    ErrorPlace place;
    place.tokenStart = lexer_.tokenStart();
    place.tokenText = std::string(lexer_.tokenText());
    place.lastName = lexer_.lastName();
    place.endsScript = lexer_.tokenKind() == TokenKind::End;
    place.caretOffset = lexer_.tokenStart() - 1;
    int start = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int length = static_cast<int>(lines[i].size());
        if (place.caretOffset < start + length + 2 || i + 1 == lines.size()) {
            place.caretLine = static_cast<int>(i);
            place.caretColumn = std::clamp(place.caretOffset - start, 0, length);
            place.hasLine = true;
            place.line = lines[i];
            return place;
        }
        start += length + 2;
    }
    place.caretLine = 0;
    place.caretColumn = 0;
    return place;
}

// script = [konstanter] [tabeller] [differentialligninger] [funktioner] { grafvariable | tabelvariable }
void ScriptCompiler::parseScript(const std::vector<std::string>& lines, std::vector<OutputSection>& sections)
{
    expressions_.beginParse(*model_, *run_);
    outputNamesTable_ = false;
    lexer_.nextToken();
    lexer_.skipComments();
    firstTokenStart_ = lexer_.tokenStart();
    if (lexer_.tokenKind() == TokenKind::ConstantsKeyword)
        parseConstants();
    if (lexer_.failed())
        return;
    if (lexer_.tokenKind() == TokenKind::TablesKeyword)
        parseTables();
    if (lexer_.failed())
        return;
    if (lexer_.tokenKind() == TokenKind::EquationsKeyword)
        parseDifferentialEquations();
    if (lexer_.failed())
        return;
    model_->script.lastOdeRecord = model_->script.recordCount;
    if (lexer_.tokenKind() == TokenKind::FunctionsKeyword)
        parseFunctions();
    // A lexer error met after the declarations keeps its own code.
    if (lexer_.failed())
        return;
    const TokenKind kind = lexer_.tokenKind();
    if (lexer_.failIf(
            kind != TokenKind::End && kind != TokenKind::GraphOutputKeyword && kind != TokenKind::TableOutputKeyword,
            ScriptError::CannotStandHere))
        return;
    if (expressions_.hasPendingNames()) {
        lexer_.setTokenText(expressions_.pendingNamesText());
        lexer_.setError(ScriptError::NeverDefined);
        return;
    }
    parseOutputSections(lines, sections);
    if (lexer_.failed())
        return;
    if (lexer_.tokenKind() == TokenKind::End)
        lexer_.markEndReached();
    else
        lexer_.setError(ScriptError::CannotStandHere);
}

}  // namespace tavlix
