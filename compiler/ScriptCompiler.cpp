// The compiler of one script page: lexer, expression compiler, section parser and diagnostics.
#include "compiler/ScriptCompiler.h"

#include "compiler/Diagnostics.h"
#include "engine/Generation.h"
#include "support/Calculator.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr const char* SettingNames[16] = {"Xmin", "Xmax", "XEnhed", "YCross", "YMin",   "YMax",    "YEnhed",  "XCross",
                                          "TMin", "TMax", "TAntal", "TDelta", "Absolut", "Relativ", "XGitter", "YGitter"};

// A setting that cannot be computed counts as 0; the user is told which, so that a damaged file is noticed.
std::string UnreadableSettingsNotice(const std::vector<int>& failed)
{
    std::string names;
    for (std::size_t i = 0; i < failed.size(); ++i)
        names += (i == 0 ? "" : i + 1 == failed.size() ? " og " : ", ") + std::string(SettingNames[failed[i]]);
    const bool one = failed.size() == 1;
    return std::string(one ? "Koordinatindstillingen " : "Koordinatindstillingerne ") + names +
           " kan ikke beregnes; 0 bruges i stedet. Ret " + (one ? "den" : "dem") + " under Koordinater (F8).";
}

// The notices a run shows; the rest are counted. A notice at every point of a long run would bury the user under
// message boxes that must each be answered before the run can be stopped.
constexpr int MaxNoticesPerRun = 5;

// Passes everything on to the run's host but the notices beyond the first few.
class NoticeLimiter : public EngineHost {
public:
    explicit NoticeLimiter(EngineHost& host) : Host(host) {}
    TableTarget* LavTabel(const std::string& caption) override { return Host.LavTabel(caption); }
    GraphTarget* LavGraf(const std::string& caption) override { return Host.LavGraf(caption); }
    void Notice(const char* text) override {
        if (++Count <= MaxNoticesPerRun)
            Host.Notice(text);
    }
    void GeneralError(const std::string& text) override { Host.GeneralError(text); }
    void ShowStatus(const std::string& message) override { Host.ShowStatus(message); }
    bool KeepGoing() override { return Host.KeepGoing(); }
    char DecimalSeparator() const override { return Host.DecimalSeparator(); }
    // One last notice that says how many were not shown.
    void SumUp() {
        if (Count > MaxNoticesPerRun)
            Host.Notice(("K\xF8rslen gav " + std::to_string(Count - MaxNoticesPerRun) +
                         " meddelelser mere, som ikke er vist.").c_str());
    }

private:
    EngineHost& Host;
    long long Count = 0;
};

}  // namespace

ScriptCompiler::ScriptCompiler() = default;
ScriptCompiler::~ScriptCompiler() = default;

RunResult ScriptCompiler::Run(const SettingsTexts& settings, const std::vector<std::string>& lines,
                              const std::string& caption, EngineHost& host) {
    // The host is valid only for this call; whoever was the engine's host before gets it back.
    EngineHost* const previousHost = Eng.Host;
    NoticeLimiter limiter(host);
    Eng.Host = &limiter;
    Eng.Abandoned = 0;
    Eng.FaultText.clear();
    Model = std::make_unique<datarec>();
    std::vector<int> failed;
    for (std::size_t i = 0; i < settings.size(); ++i) {
        const CalcResult r = Evaluate(settings[i]);
        Model->Settings[i] = r.error == 0 ? r.value : 0.0;
        if (r.error != 0)
            failed.push_back(static_cast<int>(i));
    }
    if (!failed.empty())
        host.Notice(UnreadableSettingsNotice(failed).c_str());
    std::string source;
    for (const std::string& line : lines) source += line + "\r\n";
    ErrorCode = 0;
    Source = std::move(source);
    SourceLength = static_cast<int>(Source.size());
    ReadPos = 0;
    pparse(caption, ResultCount);
    EndParse();
    limiter.SumUp();

    RunResult result;
    if (Eng.Abandoned) {
        result.Abandoned = true;
        if (!Eng.FaultText.empty()) host.GeneralError(Eng.FaultText.str());
    } else if (ErrorCode > 0) {
        result.ErrorCode = ErrorCode;
        FillCaret(result, lines);
        result.Message = MeddelFejl(host);
    }
    Source.clear();
    Eng.Host = previousHost;
    return result;
}

void ScriptCompiler::FillCaret(RunResult& result, const std::vector<std::string>& lines) const {
    result.CaretOffset = TokenStart - 1;
    int start = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int length = static_cast<int>(lines[i].size());
        if (result.CaretOffset < start + length + 2 || i + 1 == lines.size()) {
            result.CaretLine = static_cast<int>(i);
            result.CaretColumn = std::clamp(result.CaretOffset - start, 0, length);
            return;
        }
        start += length + 2;
    }
    result.CaretLine = 0;
    result.CaretColumn = 0;
}

std::string ScriptCompiler::MeddelFejl(EngineHost& host) {
    if (const char* expected = ExpectedTokenText(ErrorCode)) Eng.TokenText.assign(expected);
    std::string message = ComposeMessage(ErrorCode, Eng.TokenText.view(), LastName, Eng.T);
    host.ShowStatus(message);
    return message;
}

// script = [konstanter] [tabeller] [differentialligninger] [funktioner] { grafvariable | tabelvariable }
void ScriptCompiler::pparse(const std::string& caption, int& resultCount) {
    ParsesetUp();
    GetToken();
    xGetToken();
    if (TokenKind == TkKonstanter) ParseConstants();
    if (ErrorCode > 0) return;
    if (TokenKind == TkTabeller) ParseTables();
    if (ErrorCode > 0) return;
    if (TokenKind == TkDifferential) ParseDifferentialEquations();
    if (ErrorCode > 0) return;
    Model->OdeLimit = Model->RecordCount;
    if (TokenKind == TkFunktioner) ParseFunctions();
    // A lexer error met after the declarations keeps its own code.
    if (ErrorCode > 0) return;
    if (checkbool(TokenKind != TkEnd && TokenKind != TkGrafvariable && TokenKind != TkTabelvariable, 21)) return;
    if (!PendingNames.empty()) {
        Eng.TokenText.assign(Model->Pending.view().substr(0, 25));
        ErrorCode = 11;
        return;
    }
    ParseOutputSections(caption, resultCount);
    if (ErrorCode > 0) return;
    if (TokenKind == TkEnd)
        TokenStart = 0;
    else
        ErrorCode = 21;
}

void ScriptCompiler::KonstIdInstall() {
    datarec& m = *Model;
    if (checkbool(Names.Find(NameText) != nullptr, 14)) return;
    if (checkbool(m.ConstCount == MaxConsts, 12)) return;
    ++m.ConstCount;
    m.ConstNames[m.ConstCount].assign(NameText);
    Names.Add(NameText, KindConstant, m.ConstCount);
}

void ScriptCompiler::TabIdInstall() {
    datarec& m = *Model;
    if (checkbool(Names.Find(NameText) != nullptr, 14)) return;
    if (checkbool(m.TableCount == MaxTables, 12)) return;
    ++m.TableCount;
    m.Tables[m.TableCount].Name.assign(NameText);
    Names.Add(NameText, KindTable, m.TableCount);
}

bool ScriptCompiler::idfuncsearch() {
    const NameEntry* e = Names.Find(NameText);
    if (!e || (e->Kind != KindFunction && e->Kind != KindIndependent)) return false;
    Model->LastRecord = e->Index;
    return true;
}

// konstanter = "konstanter" { name "=" ( "<" Udtryk { "," Udtryk } ">" | Udtryk ) }
void ScriptCompiler::ParseConstants() {
    datarec& m = *Model;
    GetToken();
    for (xGetToken(); TokenKind == TkName; xGetToken()) {
        KonstIdInstall();
        if (ErrorCode > 0) return;
        const int constant = m.ConstCount;
        GetToken();
        if (CheckToken(TkEquals, 5)) return;
        if (TokenKind == TkLess) {
            ParseListConstant(constant);
        } else {
            evkonst(false);
            if (ErrorCode == 0) m.ConstValues[constant] = m.Records[0].Value;
        }
        if (ErrorCode > 0) return;
    }
}

// list = "<" Udtryk { "," Udtryk } ">"
void ScriptCompiler::ParseListConstant(int constant) {
    datarec& m = *Model;
    GetToken();
    m.ConstLists[constant] = std::make_unique<SkareRec>();
    SkareRec& list = *m.ConstLists[constant];
    list.Count = 1;
    evkonst(false);
    if (ErrorCode > 0) return;
    m.ConstValues[constant] = list.Values[1] = m.Records[0].Value;
    while (TokenKind == TkComma) {
        GetToken();
        if (checkbool(list.Count == MaxListValues, 12)) return;
        evkonst(false);
        if (ErrorCode > 0) return;
        list.Values[++list.Count] = m.Records[0].Value;
    }
    CheckToken(TkGreater, 10);
}

// tabeller = "tabeller" { table }
void ScriptCompiler::ParseTables() {
    GetToken();
    xGetToken();
    Model->TableBuffer = std::make_unique<TablePoint[]>(MaxTablePoints + 2);
    while (TokenKind == TkName && ErrorCode == 0) ParseTable();
    Model->TableBuffer.reset();
}

// table = name "=" "<" point { "," point } ">" ;  point = "(" Udtryk "," Udtryk ")"
void ScriptCompiler::ParseTable() {
    datarec& m = *Model;
    TabIdInstall();
    if (ErrorCode > 0) return;
    TableRec& table = m.Tables[m.TableCount];
    GetToken();
    if (CheckToken(TkEquals, 5)) return;
    if (checkbool(TokenKind != TkLess, 9)) return;
    TablePoint* buffer = m.TableBuffer.get();
    buffer[0].x = -BigValue;
    int i = 0;
    do {
        GetToken();
        if (CheckToken(TkOpen, 18)) return;
        if (checkbool(++i == MaxTablePoints + 1, 28)) return;
        evkonst(false);
        if (ErrorCode > 0) return;
        buffer[i].x = m.Records[0].Value;
        if (CheckToken(TkComma, 8)) return;
        if (checkbool(buffer[i - 1].x >= buffer[i].x, 29)) return;
        evkonst(false);
        if (ErrorCode > 0) return;
        buffer[i].y = m.Records[0].Value;
        if (CheckToken(TkClose, 17)) return;
    } while (TokenKind == TkComma);
    if (CheckToken(TkGreater, 10)) return;
    buffer[0].y = buffer[1].y;
    buffer[i + 1] = {BigValue, buffer[i].y};
    table.DataBytes = static_cast<std::uint16_t>(16 * (i + 2));
    for (int p = 0; p <= i + 1; ++p) table.Points[p] = buffer[p];
    xGetToken();
}

// differentialligninger = "differentialligninger" { name "'" "=" Udtryk "<" Udtryk ">" }
void ScriptCompiler::ParseDifferentialEquations() {
    datarec& m = *Model;
    GetToken();
    xGetToken();
    m.InOdeSection = 1;
    m.PlainLimit = static_cast<std::uint8_t>(m.RecordCount);
    while (TokenKind == TkName) {
        FktIdInstall();
        if (ErrorCode > 0) return;
        m.CodeTarget = static_cast<std::uint8_t>(m.LastRecord);
        GetToken();
        // Any power operator will do: y^ = ... is read as y' = ...
        if (CheckToken(TkPower, 7) || CheckToken(TkEquals, 5)) return;
        reversepolish();
        if (ErrorCode > 0 || CheckToken(TkLess, 9)) return;
        evkonst(false);
        if (ErrorCode > 0 || CheckToken(TkGreater, 10)) return;
        xGetToken();
    }
}

// funktioner = "funktioner" { name "=" Udtryk [ "<" Udtryk "," Udtryk ">" ] }
void ScriptCompiler::ParseFunctions() {
    datarec& m = *Model;
    GetToken();
    xGetToken();
    m.InOdeSection = 0;
    while (TokenKind == TkName) {
        FktIdInstall();
        if (ErrorCode > 0) return;
        m.CodeTarget = static_cast<std::uint8_t>(m.LastRecord);
        GetToken();
        if (CheckToken(TkEquals, 5)) return;
        reversepolish();
        if (ErrorCode > 0) return;
        if (TokenKind == TkLess) {
            GetToken();
            evkonst(false);
            if (ErrorCode > 0 || CheckToken(TkComma, 8)) return;
            evkonst(true);
            if (ErrorCode > 0 || CheckToken(TkGreater, 10)) return;
        }
        xGetToken();
    }
}

// outputs = { ("tabelvariable" tableentries | "grafvariable" graphentries) }
void ScriptCompiler::ParseOutputSections(const std::string& caption, int& resultCount) {
    datarec& m = *Model;
    while (TokenKind == TkGrafvariable || TokenKind == TkTabelvariable) {
        m.OutputCount = 0;
        Eng.StopFlag = 0;
        if (TokenKind == TkTabelvariable) {
            ParseTableOutput();
            if (ErrorCode > 0) return;
            if (m.OutputCount > 0) TakeOverEngineError(MakeTable(m, caption, resultCount));
        } else {
            ParseGraphOutput();
            if (ErrorCode > 0) return;
            if (m.OutputCount > 0) TakeOverEngineError(MakeGraph(m, caption, resultCount));
        }
        // A stop condition ends only its own page when more sections follow.
        if (TokenKind != TkEnd && ErrorCode == 19) {
            ErrorCode = 0;
            Eng.EvalFailed = 0;
            Eng.StopFlag = 0;
        }
        if (ErrorCode > 0) return;
    }
}

void ScriptCompiler::TakeOverEngineError(int code) {
    if (Eng.Abandoned)
        ErrorCode = AbandonedCode;
    else if (code > 0)
        ErrorCode = code;
}

bool ScriptCompiler::TableEntryEnds() const {
    return TokenKind == TkComma || TokenKind == TkEnd || TokenKind == TkGrafvariable ||
           TokenKind == TkTabelvariable || TokenKind == TkComment;
}

// tableentries = { name [ ":" decimals ] [ "," ] }
void ScriptCompiler::ParseTableOutput() {
    datarec& m = *Model;
    GetToken();
    xGetToken();
    while (TokenKind == TkName) {
        if (checkbool(m.OutputCount == MaxOutputs, 12)) return;
        OutputRec& out = m.Outputs[++m.OutputCount];
        if (checkbool(!idfuncsearch(), 4)) return;
        out = {static_cast<std::uint8_t>(m.LastRecord), 255, 0, 1};
        GetToken();
        if (TokenKind == TkColon) {
            GetToken();
            const bool decimals = TokenKind == TkNumber && TokenValue >= 0 && TokenValue <= 6 &&
                                  TokenValue == std::floor(TokenValue);
            if (checkbool(!decimals, 23)) return;
            out.F2 = static_cast<std::uint8_t>(TokenValue);
            GetToken();
        }
        if (checkbool(!TableEntryEnds(), 8)) return;
        if (TokenKind == TkComma) {
            GetToken();
            if (checkbool(TokenKind != TkName, 24)) return;
        }
        xGetToken();
    }
}

// graphentries = { name "," name "," style }
void ScriptCompiler::ParseGraphOutput() {
    datarec& m = *Model;
    GetToken();
    xGetToken();
    while (TokenKind == TkName) {
        if (checkbool(m.OutputCount == MaxOutputs, 12)) return;
        OutputRec& out = m.Outputs[++m.OutputCount];
        if (checkbool(!idfuncsearch(), 4)) return;
        out.F1 = static_cast<std::uint8_t>(m.LastRecord);
        out.WasUndefined = 1;
        GetToken();
        if (CheckToken(TkComma, 8)) return;
        if (checkbool(TokenKind != TkName, 24) || checkbool(!idfuncsearch(), 4)) return;
        out.F2 = static_cast<std::uint8_t>(m.LastRecord);
        GetToken();
        if (CheckToken(TkComma, 8)) return;
        if (checkbool(TokenKind != TkStyle, 24)) return;
        out.Style = TokenCode;
        GetToken();
        xGetToken();
    }
}
