// Compiles expressions and conditions of a script into reverse-polish code in the model's records.
#include "compiler/ExpressionCompiler.h"

#include "engine/Evaluator.h"
#include "engine/Opcodes.h"

#include <algorithm>
#include <bit>
#include <cstdint>

// Counts one level of recursion for as long as a parse routine runs.
class NestingGuard {
public:
    explicit NestingGuard(ExpressionCompiler& c) : c_(c) { ++c_.depth_; }
    ~NestingGuard() { --c_.depth_; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;

private:
    ExpressionCompiler& c_;
};

namespace {

constexpr std::size_t CodeLimit = MaxCodeBytes + 1;  // 198: code bytes plus the ending 0
constexpr std::uint64_t PiBits = 0x400921FB54442D18ULL;

void AppendByte(std::string& code, int b) { code += static_cast<char>(static_cast<std::uint8_t>(b)); }

// The 8 bytes of the double, least significant first, whatever the machine's byte order.
void AppendDouble(std::string& code, double v) {
    std::uint64_t bits = std::bit_cast<std::uint64_t>(v);
    for (int i = 0; i < 8; ++i) AppendByte(code, static_cast<int>((bits >> (8 * i)) & 0xFF));
}

}  // namespace

bool ExpressionCompiler::Enter() { return !checkbool(depth_ > MaxNesting, 16); }

void ExpressionCompiler::ParsesetUp() {
    datarec& m = *Model;
    ReadPos = 1;
    m.ConstCount = 1;
    m.ConstNames[1] = "pi";
    m.ConstValues[1] = std::bit_cast<double>(PiBits);
    m.RecordCount = 0;
    m.Records[0].Name = "t";
    m.Records[0].CacheT = 1.0;
    m.CodeTarget = 0;
    m.InOdeSection = 0;
    m.PlainLimit = MaxRecords;
    m.Pending.clear();
    m.OdeLimit = 0;
    m.TableCount = 0;
    m.StackTop = 0;
    m.EngineError = 0;
    Eng.EvalFailed = 0;
    Names.Clear();
    Names.Add("t", KindIndependent, 0);
    Names.Add("pi", KindConstant, 1);
    PendingNames.clear();
    depth_ = 0;
    GetChar();
}

void ExpressionCompiler::EndParse() { Names.Clear(); }

void ExpressionCompiler::SetPendingText() {
    std::string text;
    for (const std::string& n : PendingNames) text += "*" + n + "*";
    Model->Pending.assign(text);
}

// reversepolish = Udtryk   (stored as the code of record CodeTarget)
void ExpressionCompiler::reversepolish() {
    CodeText.clear();
    Udtryk();
    if (ErrorCode > 0) return;
    if (checkbool(CodeText.size() >= CodeLimit, 16)) return;
    FuncRec& rec = Record(Model->CodeTarget);
    rec.Code.assign(CodeText + '\0');
    rec.CacheT = 1.0;
    rec.IsOde = Model->InOdeSection;
}

// evkonst = Udtryk   (computed at once, with t = 0)
void ExpressionCompiler::evkonst(bool flag) {
    datarec& m = *Model;
    const int savedCount = m.RecordCount;
    const int savedTarget = m.CodeTarget;
    const std::uint8_t savedOde = m.InOdeSection;
    Eng.T = 0;
    m.Records[0].CacheT = 1.0;
    m.CodeTarget = 0;
    Eng.EvalFailed = 0;
    m.InOdeSection = 0;
    reversepolish();
    if (ErrorCode > 0) return;
    // The value cache shares its field with the compile marks (0 declared, 1 compiled). Without a
    // fresh cache a record marked 0, such as a stop branch, would pass for a value cached at t = 0;
    // and afterwards the marks must be back, or a function used in a bound would look undefined.
    double marks[MaxRecords + 1];
    for (int r = 1; r <= m.RecordCount; ++r) {
        marks[r] = m.Records[r].CacheT;
        m.Records[r].CacheT = BigValue;
    }
    Evaluate(m, 0);
    for (int r = 1; r <= m.RecordCount; ++r) m.Records[r].CacheT = marks[r];
    if (Eng.Abandoned) {
        ErrorCode = AbandonedCode;
        return;
    }
    if (Eng.EvalFailed) {
        // A stop or a full stack names no record: the constant expression itself is meant.
        if (m.EngineError != 25) Eng.TokenText.assign(m.Records[0].Name.view());
        ErrorCode = 25;
    }
    const double value = m.Records[0].Value;
    if (flag)
        m.Records[savedTarget].Hi = value;
    else
        m.Records[savedTarget].Lo = value;
    m.RecordCount = savedCount;
    m.CodeTarget = static_cast<std::uint8_t>(savedTarget);
    m.InOdeSection = savedOde;
}

// Udtryk = produkt { ("+" | "-") produkt }
void ExpressionCompiler::Udtryk() {
    NestingGuard guard(*this);
    if (ErrorCode > 0 || !Enter()) return;
    produkt(true);
    while (ErrorCode == 0 && TokenKind == TkAddOp) {
        const std::uint8_t op = TokenCode;
        GetToken();
        produkt(false);
        if (ErrorCode > 0) return;
        AppendByte(CodeText, op);
    }
}

// produkt = factor { ("*" | "/") factor }
void ExpressionCompiler::produkt(bool signAllowed) {
    if (ErrorCode > 0) return;
    factor(signAllowed);
    while (ErrorCode == 0 && TokenKind == TkMulOp) {
        const std::uint8_t op = TokenCode;
        GetToken();
        factor(false);
        if (ErrorCode > 0) return;
        AppendByte(CodeText, op);
    }
}

// factor = [ "+" | "-" ] Potens   (a sign only at the start of an Udtryk)
void ExpressionCompiler::factor(bool signAllowed) {
    if (ErrorCode > 0) return;
    bool negate = false;
    if (TokenKind == TkAddOp) {
        if (checkbool(!signAllowed, 21)) return;
        negate = TokenCode == '-';
        GetToken();
    }
    Potens();
    if (ErrorCode == 0 && negate) AppendByte(CodeText, OpNeg);
}

// Potens = arg [ ("^" | "'") Potens ]
void ExpressionCompiler::Potens() {
    NestingGuard guard(*this);
    if (ErrorCode > 0 || !Enter()) return;
    arg();
    if (ErrorCode > 0 || TokenKind != TkPower) return;
    GetToken();
    Potens();
    if (ErrorCode == 0) AppendByte(CodeText, OpPow);
}

// arg = number | name | table "(" Udtryk ")" | function "(" Udtryk ")" | "(" Udtryk ")" | hvispr
void ExpressionCompiler::arg() {
    if (ErrorCode > 0) return;
    switch (TokenKind) {
    case TkNumber:
        AppendByte(CodeText, OpNum);
        AppendDouble(CodeText, TokenValue);
        GetToken();
        break;
    case TkName:
        ArgName();
        break;
    case TkFunction:
        ArgCall();
        break;
    case TkOpen:
        GetToken();
        Udtryk();
        if (ErrorCode > 0) return;
        CheckToken(TkClose, 17);
        break;
    case TkHvis:
        hvispr();
        break;
    default:
        // A lexer error keeps its own code.
        checkbool(ErrorCode == 0, 20);
        break;
    }
}

// name = constant | record | table "(" Udtryk ")"   (in a differential equation also a name defined later)
void ExpressionCompiler::ArgName() {
    datarec& m = *Model;
    const NameEntry* e = Names.Find(NameText);
    if (!e) {
        // Only a differential equation may use a name before its definition.
        if (checkbool(!m.InOdeSection, 4)) return;
        FktIdInstall();
        if (ErrorCode > 0) return;
        PendingNames.push_back(NameText);
        SetPendingText();
        AppendByte(CodeText, OpRef);
        AppendByte(CodeText, m.LastRecord);
        GetToken();
        return;
    }
    switch (e->Kind) {
    case KindConstant:
        AppendByte(CodeText, OpConst);
        AppendByte(CodeText, e->Index);
        GetToken();
        break;
    case KindTable:
        ArgTable(e->Index);
        break;
    default:  // a function, a differential-equation variable or t
        if (checkbool(m.Records[e->Index].CacheT == 0.0 && !m.InOdeSection, 4)) return;
        AppendByte(CodeText, OpRef);
        AppendByte(CodeText, e->Index);
        GetToken();
        break;
    }
}

// lookup = table "(" Udtryk ")"
void ExpressionCompiler::ArgTable(int table) {
    GetToken();
    if (CheckToken(TkOpen, 18)) return;
    Udtryk();
    if (ErrorCode > 0 || CheckToken(TkClose, 17)) return;
    AppendByte(CodeText, OpTable);
    AppendByte(CodeText, table);
}

// call = function "(" Udtryk ")"
void ExpressionCompiler::ArgCall() {
    const std::uint8_t code = TokenCode;
    GetToken();
    if (CheckToken(TkOpen, 18)) return;
    Udtryk();
    if (ErrorCode > 0 || CheckToken(TkClose, 17)) return;
    AppendByte(CodeText, code);
}

// bool = ie { "eller" ie }
void ExpressionCompiler::Bool() {
    NestingGuard guard(*this);
    if (ErrorCode > 0 || !Enter()) return;
    ie();
    while (ErrorCode == 0 && TokenKind == TkEller) {
        GetToken();
        ie();
        if (ErrorCode > 0) return;
        AppendByte(CodeText, OpAdd);
    }
}

// ie = ulh { "og" ulh }
void ExpressionCompiler::ie() {
    if (ErrorCode > 0) return;
    ulh();
    while (ErrorCode == 0 && TokenKind == TkOg) {
        GetToken();
        ulh();
        if (ErrorCode > 0) return;
        AppendByte(CodeText, OpMul);
    }
}

// ulh = Udtryk comparison Udtryk | "(" bool ")"
void ExpressionCompiler::ulh() {
    if (ErrorCode > 0) return;
    if (TokenKind == TkOpen) {
        // Try the parenthesis as arithmetic first; a ")" missing inside means it held a condition.
        const std::size_t mark = CodeText.size();
        const ReadState state = SaveState();
        Udtryk();
        if (ErrorCode == 17) {
            CodeText.resize(mark);
            RestoreState(state);
            ErrorCode = 0;
            GetToken();
            Bool();
            if (ErrorCode == 0) CheckToken(TkClose, 17);
            return;
        }
    } else {
        Udtryk();
    }
    if (ErrorCode > 0) return;
    const bool isComparison = TokenKind == TkLess || TokenKind == TkGreater || TokenKind == TkEquals ||
                              TokenKind == TkCompare;
    if (checkbool(!isComparison, 15)) return;
    const std::uint8_t op = TokenCode;
    GetToken();
    Udtryk();
    if (ErrorCode == 0) AppendByte(CodeText, op);
}

// hvispr = "hvis" "(" bool "," (Udtryk | "stop") "," (Udtryk | "stop") ")"
void ExpressionCompiler::hvispr() {
    datarec& m = *Model;
    GetToken();
    if (CheckToken(TkOpen, 18)) return;
    Bool();
    if (ErrorCode > 0) return;
    std::string result = CodeText;
    AppendByte(result, OpIf);
    const int owner = m.CodeTarget;
    for (int branch = 0; branch < 2; ++branch) {
        if (CheckToken(TkComma, 8)) return;
        if (checkbool(m.RecordCount == MaxRecords, 12)) return;
        const int r = ++m.RecordCount;
        m.CodeTarget = static_cast<std::uint8_t>(r);
        FuncRec& rec = m.Records[r];
        rec.Name = m.Records[owner].Name;
        rec.CacheT = 0.0;
        rec.Lo = -BigValue;
        rec.Hi = BigValue;
        rec.Code.assign(std::string{static_cast<char>(OpStop), '\0'});
        if (TokenKind == TkStop) {
            GetToken();
        } else {
            reversepolish();
            if (ErrorCode > 0) return;
        }
        rec.IsOde = 0;
        AppendByte(result, OpRef);
        AppendByte(result, r);
        if (result.size() > CodeLimit) result.resize(CodeLimit);
    }
    if (CheckToken(TkClose, 17)) return;
    m.CodeTarget = static_cast<std::uint8_t>(owner);
    CodeText = std::move(result);
}

void ExpressionCompiler::FktIdInstall() {
    datarec& m = *Model;
    if (const NameEntry* e = Names.Find(NameText)) {
        if (checkbool(e->Kind != KindFunction, 14)) return;
        m.LastRecord = e->Index;
        if (checkbool(m.Records[e->Index].CacheT == 1.0, 14)) return;
        // Used before its definition: it is pending no more.
        auto it = std::find(PendingNames.begin(), PendingNames.end(), NameText);
        if (it != PendingNames.end()) PendingNames.erase(it);
        SetPendingText();
    } else {
        if (checkbool(m.RecordCount == MaxRecords, 12)) return;
        m.LastRecord = ++m.RecordCount;
        Names.Add(NameText, KindFunction, m.RecordCount);
    }
    FuncRec& rec = m.Records[m.LastRecord];
    rec.Name.assign(NameText);
    rec.CacheT = 0.0;
    rec.Lo = -BigValue;
    rec.Hi = BigValue;
    rec.Value = 0.0;
}
