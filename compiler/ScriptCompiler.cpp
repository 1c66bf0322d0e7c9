// A whole run of a script page: the settings, the section parser, the output sections and the error report.
#include "compiler/ScriptCompiler.h"

#include "compiler/FamilyHost.h"
#include "compiler/NoticeLimiter.h"
#include "compiler/ScriptErrors.h"
#include "compiler/ScriptHints.h"
#include "engine/OutputGenerator.h"
#include "support/SettingsCalculator.h"

#include <algorithm>
#include <cmath>
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

// The one error whose message quotes what the engine could not compute rather than a token.
bool quotesFailedName(ScriptError error)
{
    return error == ScriptError::CannotCompute;
}

}  // namespace

ScriptCompiler::ScriptCompiler() = default;
ScriptCompiler::~ScriptCompiler() = default;

RunResult ScriptCompiler::run(const SettingsTexts& settings, const std::vector<std::string>& lines,
                              const std::string& caption, EngineHost& host, OutputProbe* probe)
{
    NoticeLimiter limiter(host, limitsNotices_);
    FamilyHost family(limiter, listParameters_, familyKey_);
    RunState state;
    state.host = familyKey_.empty() ? static_cast<EngineHost*>(&limiter) : &family;
    state.probe = probe;
    run_ = &state;
    model_ = std::make_unique<Model>();
    std::vector<int> failed;
    for (std::size_t i = 0; i < settings.size(); ++i) {
        const CalcResult r = evaluate(settings[i]);
        model_->script.settings.values[i] = r.error == CalcError::None ? r.value : 0.0;
        if (r.error != CalcError::None)
            failed.push_back(static_cast<int>(i));
    }
    if (!failed.empty())
        host.showNoticeText(unreadableSettingsNotice(failed));
    const std::string source = sourceOf(lines);
    lexer_.startReading(source);
    parseScript(caption);
    keepDeclaredNames();
    expressions_.endParse();
    RunResult memberFailure;
    if (!familyKey_.empty()) {
        // A member takes the settings as they came out, without telling of the unreadable ones again.
        SettingsTexts memberSettings = settings;
        for (const int i : failed)
            memberSettings[static_cast<std::size_t>(i)] = "0";
        runFamilyMembers(family, memberSettings, lines, caption, memberFailure);
    }
    limiter.sumUp();
    if (memberFailure.error != ScriptError::None) {
        host.showScriptError(memberFailure.message);
        lexer_.stopReading();
        run_ = nullptr;
        return memberFailure;
    }
    return endRun(state, lines, host);
}

void ScriptCompiler::keepDeclaredNames()
{
    // t and pi are the language's own, not the script's.
    declaredNames_.clear();
    for (std::string& name : expressions_.names().names())
        if (name != "t" && name != "pi")
            declaredNames_.push_back(std::move(name));
}

std::string ScriptCompiler::sourceOf(const std::vector<std::string>& lines)
{
    std::string source;
    for (const std::string& line : lines)
        source += line + "\r\n";
    return source;
}

RunResult ScriptCompiler::endRun(const RunState& state, const std::vector<std::string>& lines, EngineHost& host)
{
    RunResult result;
    if (state.abandoned) {
        result.abandoned = true;
        if (!state.faultText.empty())
            host.reportFault(state.faultText.str());
    } else if (lexer_.failed()) {
        result.error = lexer_.error();
        fillCaret(result, lines);
        result.message = reportError(host);
    }
    lexer_.stopReading();
    run_ = nullptr;
    return result;
}

void ScriptCompiler::fillCaret(RunResult& result, const std::vector<std::string>& lines) const
{
    result.caretOffset = lexer_.tokenStart() - 1;
    int start = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int length = static_cast<int>(lines[i].size());
        if (result.caretOffset < start + length + 2 || i + 1 == lines.size()) {
            result.caretLine = static_cast<int>(i);
            result.caretColumn = std::clamp(result.caretOffset - start, 0, length);
            const bool atFirstWord = lexer_.tokenStart() == firstTokenStart_;
            result.hint = errorHint({lexer_.error(), lines[i], result.caretColumn, lexer_.tokenText(),
                                     lexer_.lastName(), &declaredNames_, atFirstWord, outputNamesTable_});
            return;
        }
        start += length + 2;
    }
    result.caretLine = 0;
    result.caretColumn = 0;
}

std::string ScriptCompiler::reportError(EngineHost& host)
{
    const ScriptError error = lexer_.error();
    std::string_view tokenText = quotesFailedName(error) ? run_->failedName.view() : lexer_.tokenText();
    if (const char* expected = expectedTokenText(error))
        tokenText = expected;
    std::string message = error == ScriptError::CannotCompute && expressions_.constantFailed()
                              ? declarationFailureMessage(tokenText)
                              : errorMessage(error, tokenText, lexer_.lastName(), run_->t);
    host.showScriptError(message);
    return message;
}

// script = [konstanter] [tabeller] [differentialligninger] [funktioner] { grafvariable | tabelvariable }
void ScriptCompiler::parseScript(const std::string& caption)
{
    expressions_.beginParse(*model_, *run_);
    listParameters_.clear();
    outputNamesTable_ = false;
    plainConstants_.clear();
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
    parseOutputSections(caption);
    if (lexer_.failed())
        return;
    if (lexer_.tokenKind() == TokenKind::End)
        lexer_.markEndReached();
    else
        lexer_.setError(ScriptError::CannotStandHere);
}

int ScriptCompiler::findOutputRecord() const
{
    const NameEntry* e = expressions_.names().find(lexer_.nameText());
    if (!e || (e->kind != NameKind::Function && e->kind != NameKind::Independent))
        return -1;
    return e->index;
}

int ScriptCompiler::findOutputTable() const
{
    const NameEntry* e = expressions_.names().find(lexer_.nameText());
    return e && e->kind == NameKind::Table ? e->index : 0;
}

bool ScriptCompiler::failUnknownOutput(bool unknown)
{
    // A table stands for its values only at a t: the hint shows how to ask for them.
    outputNamesTable_ = unknown && findOutputTable() > 0;
    return lexer_.failIf(unknown, ScriptError::UnknownName);
}

// outputs = { ("tabelvariable" tableentries | "grafvariable" graphentries) }
void ScriptCompiler::parseOutputSections(const std::string& caption)
{
    Model& m = *model_;
    RunState& run = *run_;
    for (;;) {
        const TokenKind kind = lexer_.tokenKind();
        if (kind != TokenKind::GraphOutputKeyword && kind != TokenKind::TableOutputKeyword)
            return;
        m.script.outputCount = 0;
        run.stopped = false;
        lexer_.nextToken();
        lexer_.skipComments();
        if (kind == TokenKind::TableOutputKeyword) {
            parseTableOutput();
            if (lexer_.failed())
                return;
            keepIntegrationForLaterSections();
            if (generates_ && m.script.outputCount > 0)
                adoptGenerationError(generateTable(m, run, caption, resultPageCount_));
        } else {
            parseGraphOutput();
            if (lexer_.failed())
                return;
            keepIntegrationForLaterSections();
            if (generates_ && m.script.outputCount > 0)
                adoptGenerationError(generateGraph(m, run, caption, resultPageCount_));
        }
        // A stop condition ends only its own page when more sections follow.
        if (lexer_.tokenKind() != TokenKind::End && lexer_.error() == ScriptError::StopConditionMet) {
            lexer_.setError(ScriptError::None);
            run.failed = false;
            run.stopped = false;
        }
        if (lexer_.failed())
            return;
    }
}

void ScriptCompiler::keepIntegrationForLaterSections()
{
    // Only a later section can replay an integration; the last one keeps nothing.
    run_->integrations.setKeeping(lexer_.tokenKind() != TokenKind::End);
}

void ScriptCompiler::adoptGenerationError(ScriptError error)
{
    if (run_->abandoned)
        lexer_.setError(ScriptError::Abandoned);
    else if (error != ScriptError::None)
        lexer_.setError(error);
}

bool ScriptCompiler::tableEntryEnds() const
{
    const TokenKind kind = lexer_.tokenKind();
    return kind == TokenKind::Comma || kind == TokenKind::End || kind == TokenKind::GraphOutputKeyword ||
           kind == TokenKind::TableOutputKeyword || kind == TokenKind::Comment;
}

// Reads an output entry's first name into a fresh output variable; nullptr (with the error set) when there
// is no room or the name is no function, variable or t.
OutputVariable* ScriptCompiler::startOutputEntry()
{
    CompiledScript& s = model_->script;
    if (lexer_.failIf(s.outputCount == MaxOutputs, ScriptError::TooManyNames))
        return nullptr;
    OutputVariable& out = s.outputs[++s.outputCount];
    const int r = findOutputRecord();
    if (failUnknownOutput(r < 0))
        return nullptr;
    out = OutputVariable{};
    out.xRecord = static_cast<std::uint8_t>(r);
    out.xName = lexer_.writtenName();
    out.wasUndefined = true;
    lexer_.nextToken();
    return &out;
}

// tableentries = { name [ ":" decimals ] [ "," ] }
void ScriptCompiler::parseTableOutput()
{
    while (lexer_.tokenKind() == TokenKind::Name) {
        OutputVariable* const out = startOutputEntry();
        if (!out)
            return;
        if (lexer_.tokenKind() == TokenKind::Colon) {
            lexer_.nextToken();
            const double v = lexer_.tokenValue();
            const bool decimals = lexer_.tokenKind() == TokenKind::Number && v >= 0 && v <= 6 && v == std::floor(v);
            if (lexer_.failIf(!decimals, ScriptError::WholeNumberExpected))
                return;
            out->decimals = static_cast<std::uint8_t>(v);
            lexer_.nextToken();
        }
        if (lexer_.failIf(!tableEntryEnds(), ScriptError::CommaExpected))
            return;
        if (lexer_.tokenKind() == TokenKind::Comma) {
            lexer_.nextToken();
            if (lexer_.failIf(lexer_.tokenKind() != TokenKind::Name, ScriptError::DataNameExpected))
                return;
        }
        lexer_.skipComments();
    }
}

// graphentries = { name "," ( name | tablename ) "," style }
void ScriptCompiler::parseGraphOutput()
{
    while (lexer_.tokenKind() == TokenKind::Name) {
        OutputVariable* const out = startOutputEntry();
        if (!out)
            return;
        if (!lexer_.expect(TokenKind::Comma, ScriptError::CommaExpected))
            return;
        if (lexer_.failIf(lexer_.tokenKind() != TokenKind::Name, ScriptError::DataNameExpected))
            return;
        const int y = findOutputRecord();
        // t against a table: the table's own points, for measured data.
        out->table = static_cast<std::uint8_t>(out->xRecord == 0 && y < 0 ? findOutputTable() : 0);
        if (!out->table && failUnknownOutput(y < 0))
            return;
        out->yRecord = static_cast<std::uint8_t>(std::max(y, 0));
        out->yName = lexer_.writtenName();
        lexer_.nextToken();
        if (!lexer_.expect(TokenKind::Comma, ScriptError::CommaExpected))
            return;
        if (lexer_.failIf(lexer_.tokenKind() != TokenKind::Style, ScriptError::DataNameExpected))
            return;
        out->style = static_cast<CurveStyle>(lexer_.tokenCode());
        lexer_.nextToken();
        lexer_.skipComments();
    }
}

}  // namespace tavlix
