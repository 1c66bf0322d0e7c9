// The compiler of one script page: lexer, expression compiler, section parser and error report.
#include "compiler/ScriptCompiler.h"

#include "compiler/NoticeLimiter.h"
#include "compiler/ScriptErrors.h"
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
                              const std::string& caption, EngineHost& host)
{
    NoticeLimiter limiter(host);
    RunState state;
    state.host = &limiter;
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
    std::string source;
    for (const std::string& line : lines)
        source += line + "\r\n";
    lexer_.startReading(std::move(source));
    parseScript(caption);
    expressions_.endParse();
    limiter.sumUp();

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
    std::string message = errorMessage(error, tokenText, lexer_.lastName(), run_->t);
    host.showScriptError(message);
    return message;
}

// script = [konstanter] [tabeller] [differentialligninger] [funktioner] { grafvariable | tabelvariable }
void ScriptCompiler::parseScript(const std::string& caption)
{
    expressions_.beginParse(*model_, *run_);
    lexer_.nextToken();
    lexer_.skipComments();
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

void ScriptCompiler::declareConstant()
{
    CompiledScript& s = model_->script;
    const std::string& name = lexer_.nameText();
    if (lexer_.failIf(expressions_.names().find(name) != nullptr, ScriptError::NameUsedBefore))
        return;
    if (lexer_.failIf(s.constantCount == MaxConsts, ScriptError::TooManyNames))
        return;
    ++s.constantCount;
    s.constantNames[s.constantCount].assign(name);
    expressions_.names().add(name, NameKind::Constant, s.constantCount);
}

void ScriptCompiler::declareTable()
{
    CompiledScript& s = model_->script;
    const std::string& name = lexer_.nameText();
    if (lexer_.failIf(expressions_.names().find(name) != nullptr, ScriptError::NameUsedBefore))
        return;
    if (lexer_.failIf(s.tableCount == MaxTables, ScriptError::TooManyNames))
        return;
    ++s.tableCount;
    s.tables[s.tableCount].name.assign(name);
    expressions_.names().add(name, NameKind::Table, s.tableCount);
}

int ScriptCompiler::findOutputRecord() const
{
    const NameEntry* e = expressions_.names().find(lexer_.nameText());
    if (!e || (e->kind != NameKind::Function && e->kind != NameKind::Independent))
        return -1;
    return e->index;
}

// konstanter = "konstanter" { name "=" ( list | expression ) }
void ScriptCompiler::parseConstants()
{
    CompiledScript& s = model_->script;
    lexer_.nextToken();
    for (lexer_.skipComments(); lexer_.tokenKind() == TokenKind::Name; lexer_.skipComments()) {
        declareConstant();
        if (lexer_.failed())
            return;
        const int constant = s.constantCount;
        lexer_.nextToken();
        if (!lexer_.expect(TokenKind::Equals, ScriptError::EqualsExpected))
            return;
        if (lexer_.tokenKind() == TokenKind::Less) {
            parseListConstant(constant);
        } else {
            const double value = expressions_.evaluateConstant();
            if (!lexer_.failed())
                s.constantValues[constant] = value;
        }
        if (lexer_.failed())
            return;
    }
}

// list = "<" expression { "," expression } ">"
void ScriptCompiler::parseListConstant(int constant)
{
    CompiledScript& s = model_->script;
    lexer_.nextToken();
    s.listConstants[constant] = std::make_unique<ListConstant>();
    ListConstant& list = *s.listConstants[constant];
    list.count = 1;
    const double first = expressions_.evaluateConstant();
    if (lexer_.failed())
        return;
    s.constantValues[constant] = list.values[1] = first;
    while (lexer_.tokenKind() == TokenKind::Comma) {
        lexer_.nextToken();
        if (lexer_.failIf(list.count == MaxListValues, ScriptError::TooManyNames))
            return;
        const double value = expressions_.evaluateConstant();
        if (lexer_.failed())
            return;
        list.values[++list.count] = value;
    }
    lexer_.expect(TokenKind::Greater, ScriptError::GreaterExpected);
}

// tabeller = "tabeller" { table }
void ScriptCompiler::parseTables()
{
    lexer_.nextToken();
    lexer_.skipComments();
    // One table's points while they are read: 41 points, compile-only.
    auto buffer = std::make_unique<TablePoint[]>(MaxTablePoints + 2);
    while (lexer_.tokenKind() == TokenKind::Name && !lexer_.failed())
        parseTable(buffer.get());
}

// table = name "=" "<" point { "," point } ">" ;  point = "(" expression "," expression ")"
void ScriptCompiler::parseTable(TablePoint* buffer)
{
    CompiledScript& s = model_->script;
    declareTable();
    if (lexer_.failed())
        return;
    PointTable& table = s.tables[s.tableCount];
    lexer_.nextToken();
    if (!lexer_.expect(TokenKind::Equals, ScriptError::EqualsExpected))
        return;
    if (lexer_.failIf(lexer_.tokenKind() != TokenKind::Less, ScriptError::LessExpected))
        return;
    buffer[0].x = -BigValue;
    int i = 0;
    do {
        lexer_.nextToken();
        if (!lexer_.expect(TokenKind::Open, ScriptError::OpenParenExpected))
            return;
        if (lexer_.failIf(++i == MaxTablePoints + 1, ScriptError::TableTooLarge))
            return;
        buffer[i].x = expressions_.evaluateConstant();
        if (lexer_.failed())
            return;
        if (!lexer_.expect(TokenKind::Comma, ScriptError::CommaExpected))
            return;
        if (lexer_.failIf(buffer[i - 1].x >= buffer[i].x, ScriptError::TableOutOfOrder))
            return;
        buffer[i].y = expressions_.evaluateConstant();
        if (lexer_.failed())
            return;
        if (!lexer_.expect(TokenKind::Close, ScriptError::CloseParenExpected))
            return;
    } while (lexer_.tokenKind() == TokenKind::Comma);
    if (!lexer_.expect(TokenKind::Greater, ScriptError::GreaterExpected))
        return;
    buffer[0].y = buffer[1].y;
    buffer[i + 1] = {BigValue, buffer[i].y};
    table.pointCount = i;
    for (int p = 0; p <= i + 1; ++p)
        table.points[p] = buffer[p];
    lexer_.skipComments();
}

// differentialligninger = "differentialligninger" { name "'" "=" expression "<" expression ">" }
void ScriptCompiler::parseDifferentialEquations()
{
    CompiledScript& s = model_->script;
    lexer_.nextToken();
    lexer_.skipComments();
    expressions_.setInOdeSection(true);
    s.lastPlainRecord = s.recordCount;
    while (lexer_.tokenKind() == TokenKind::Name) {
        expressions_.declareFunction();
        if (lexer_.failed())
            return;
        const int r = expressions_.lastDeclaredRecord();
        lexer_.nextToken();
        // Any power operator will do: y^ = ... is read as y' = ...
        if (!lexer_.expect(TokenKind::Power, ScriptError::ApostropheExpected) ||
            !lexer_.expect(TokenKind::Equals, ScriptError::EqualsExpected))
            return;
        expressions_.compileExpressionInto(r);
        if (lexer_.failed() || !lexer_.expect(TokenKind::Less, ScriptError::LessExpected))
            return;
        s.records[r].domainLo = expressions_.evaluateConstant();
        if (lexer_.failed() || !lexer_.expect(TokenKind::Greater, ScriptError::GreaterExpected))
            return;
        lexer_.skipComments();
    }
}

// funktioner = "funktioner" { name "=" expression [ "<" expression "," expression ">" ] }
void ScriptCompiler::parseFunctions()
{
    CompiledScript& s = model_->script;
    lexer_.nextToken();
    lexer_.skipComments();
    expressions_.setInOdeSection(false);
    while (lexer_.tokenKind() == TokenKind::Name) {
        expressions_.declareFunction();
        if (lexer_.failed())
            return;
        const int r = expressions_.lastDeclaredRecord();
        lexer_.nextToken();
        if (!lexer_.expect(TokenKind::Equals, ScriptError::EqualsExpected))
            return;
        expressions_.compileExpressionInto(r);
        if (lexer_.failed())
            return;
        if (lexer_.tokenKind() == TokenKind::Less) {
            lexer_.nextToken();
            s.records[r].domainLo = expressions_.evaluateConstant();
            if (lexer_.failed() || !lexer_.expect(TokenKind::Comma, ScriptError::CommaExpected))
                return;
            s.records[r].domainHi = expressions_.evaluateConstant();
            if (lexer_.failed() || !lexer_.expect(TokenKind::Greater, ScriptError::GreaterExpected))
                return;
        }
        lexer_.skipComments();
    }
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
        if (kind == TokenKind::TableOutputKeyword) {
            parseTableOutput();
            if (lexer_.failed())
                return;
            if (m.script.outputCount > 0)
                adoptGenerationError(generateTable(m, run, caption, resultPageCount_));
        } else {
            parseGraphOutput();
            if (lexer_.failed())
                return;
            if (m.script.outputCount > 0)
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

// tableentries = { name [ ":" decimals ] [ "," ] }
void ScriptCompiler::parseTableOutput()
{
    CompiledScript& s = model_->script;
    lexer_.nextToken();
    lexer_.skipComments();
    while (lexer_.tokenKind() == TokenKind::Name) {
        if (lexer_.failIf(s.outputCount == MaxOutputs, ScriptError::TooManyNames))
            return;
        OutputVariable& out = s.outputs[++s.outputCount];
        const int r = findOutputRecord();
        if (lexer_.failIf(r < 0, ScriptError::UnknownName))
            return;
        out = OutputVariable{};
        out.xRecord = static_cast<std::uint8_t>(r);
        out.wasUndefined = true;
        lexer_.nextToken();
        if (lexer_.tokenKind() == TokenKind::Colon) {
            lexer_.nextToken();
            const double v = lexer_.tokenValue();
            const bool decimals = lexer_.tokenKind() == TokenKind::Number && v >= 0 && v <= 6 && v == std::floor(v);
            if (lexer_.failIf(!decimals, ScriptError::WholeNumberExpected))
                return;
            out.decimals = static_cast<std::uint8_t>(v);
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

// graphentries = { name "," name "," style }
void ScriptCompiler::parseGraphOutput()
{
    CompiledScript& s = model_->script;
    lexer_.nextToken();
    lexer_.skipComments();
    while (lexer_.tokenKind() == TokenKind::Name) {
        if (lexer_.failIf(s.outputCount == MaxOutputs, ScriptError::TooManyNames))
            return;
        OutputVariable& out = s.outputs[++s.outputCount];
        const int x = findOutputRecord();
        if (lexer_.failIf(x < 0, ScriptError::UnknownName))
            return;
        out.xRecord = static_cast<std::uint8_t>(x);
        out.wasUndefined = true;
        lexer_.nextToken();
        if (!lexer_.expect(TokenKind::Comma, ScriptError::CommaExpected))
            return;
        if (lexer_.failIf(lexer_.tokenKind() != TokenKind::Name, ScriptError::DataNameExpected))
            return;
        const int y = findOutputRecord();
        if (lexer_.failIf(y < 0, ScriptError::UnknownName))
            return;
        out.yRecord = static_cast<std::uint8_t>(y);
        lexer_.nextToken();
        if (!lexer_.expect(TokenKind::Comma, ScriptError::CommaExpected))
            return;
        if (lexer_.failIf(lexer_.tokenKind() != TokenKind::Style, ScriptError::DataNameExpected))
            return;
        out.style = static_cast<CurveStyle>(lexer_.tokenCode());
        lexer_.nextToken();
        lexer_.skipComments();
    }
}

}  // namespace tavlix
