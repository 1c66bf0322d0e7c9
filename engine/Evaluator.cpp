// The byte-code interpreter: runs a record's reverse-polish code on the model's stack in extended precision.
#include "engine/Evaluator.h"

#include "engine/EngineHost.h"
#include "engine/Opcodes.h"

#include <cmath>
#include <cstring>

namespace {

constexpr long double HalfPiExtended = 1.5707963267948966192L;
constexpr double HalfPiDouble = 1.5707963267948966;  // bits 3FF921FB54442D18
constexpr long double Log10Factor = 0.4342944819L;
constexpr long double ApproxSlack = 1e-26L;
constexpr long double ApproxFactor = 5e-10L;
constexpr long double PowerLimit = 88.0L;
constexpr double PowerUnderflow = 2e-39;             // bits 37E5C72FB1552D83
constexpr long double TrigLimit = 9223372036854775808.0L;  // 2^63: beyond it sin and cos give 0
const double EulerE = static_cast<double>(std::exp(1.0L));

const char* const OverflowText = "Overl\xF8" "b: et tal blev for stort til at regne med";

void Notice(const char* text)
{
    if (Eng.Host)
        Eng.Host->Notice(text);
}

void Fail() { Eng.EvalFailed = 1; }

// Below this magnitude an extended value rounds to a finite double (2^1024 - 2^970, the midpoint above DBL_MAX).
constexpr long double DoubleLimit = 0x1.fffffffffffff8p+1023L;

// Rounds an extended result to double; a result beyond the double range (or NaN) abandons the run.
// The test is made on the extended value so the rounded result goes straight to its slot.
inline bool Store(double& slot, long double v)
{
    if (!(std::fabs(v) < DoubleLimit)) [[unlikely]] {
        AbandonRun(OverflowText);
        return false;
    }
    slot = static_cast<double>(v);
    return true;
}

void NameFailure(datarec& model, int r)
{
    Eng.TokenText.assign(model.Records[r].Name.view().substr(0, 25));
}

long double SinE(long double x) { return std::fabs(x) >= TrigLimit ? 0.0L : std::sin(x); }
long double CosE(long double x) { return std::fabs(x) >= TrigLimit ? 0.0L : std::cos(x); }
// sin and cos alone: the argument is a double and the result is stored at once, so the double routines give
// the extended result rounded to double (within an ulp) at a fraction of the time.
double SinD(double x) { return std::fabs(x) >= static_cast<double>(TrigLimit) ? 0.0 : std::sin(x); }
double CosD(double x) { return std::fabs(x) >= static_cast<double>(TrigLimit) ? 0.0 : std::cos(x); }

// Linear interpolation in table j; the sentinel ends at +-BigValue make the outer pieces flat.
long double Interpolate(const TableRec& table, double x)
{
    const int n = table.PointCount();
    int k = 0;
    while (k < n && x > table.Points[k + 1].x)
        ++k;
    const TablePoint& p0 = table.Points[k];
    const TablePoint& p1 = table.Points[k + 1];
    return p0.y + (static_cast<long double>(x) - p0.x) / (static_cast<long double>(p1.x) - p0.x) * (static_cast<long double>(p1.y) - p0.y);
}

// A push onto the full stack: the value stays on entry 100 and the evaluation fails.
void StackFull(datarec& model, double v)
{
    Notice("1");
    Eng.EvalFailed = 1;
    model.EngineError = 13;
    model.Stack[StackSize] = v;
}

}  // namespace

double RoundChecked(long double v)
{
    double d = 0;
    Store(d, v);
    return d;
}

void AbandonRun(const char* text)
{
    Eng.EvalFailed = 1;
    if (Eng.Abandoned)
        return;
    Eng.Abandoned = 1;
    Eng.FaultText.assign(text);
}

void Push(datarec& model, double v)
{
    if (model.StackTop >= StackSize)
        StackFull(model, v);
    else
        model.Stack[++model.StackTop] = v;
}


bool ApproxEqual(double a, double b)
{
    const long double la = a, lb = b;
    return std::fabs(lb - la) < (std::fabs(lb) + std::fabs(la) + ApproxSlack) * ApproxFactor;
}

double ArcSin(double x)
{
    if (std::fabs(x) == 1)
        return x > 0 ? HalfPiDouble : -HalfPiDouble;
    const long double lx = x;
    return static_cast<double>(std::atan(lx / std::sqrt(1.0L - lx * lx)));
}

double IntPower(double a, long n)
{
    if (n == 0)
        return 1;
    if (n < 0) {
        if (a == 0) {
            Notice("2");
            Fail();
            return 0;
        }
        double r = 0;
        Store(r, 1.0L / IntPower(a, -n));
        return r;
    }
    double r = 0;
    if (n % 2 != 0) {
        Store(r, static_cast<long double>(IntPower(a, n - 1)) * a);
    } else {
        const long double p = IntPower(a, n / 2);
        Store(r, p * p);
    }
    return r;
}

double Power(double a, double b)
{
    if (std::trunc(b) == b && std::fabs(b) <= 2147483647.0)
        return IntPower(a, static_cast<long>(b));
    if (a <= 0) {
        Notice("3");
        Fail();
        return 1;
    }
    const long double c = b * std::log(static_cast<long double>(a));
    if (-c > PowerLimit)
        return PowerUnderflow;
    if (c > PowerLimit) {
        Notice("1");
        Fail();
        return 1;
    }
    return static_cast<double>(std::exp(c));
}

double ValueAt(datarec& model, int r)
{
    if (Eng.EvalFailed)
        return 0;
    if (r == 0)
        return Eng.T;
    FuncRec& rec = model.Records[r];
    if (rec.IsOde)
        return model.Y[r];
    if (Eng.T == rec.CacheT)
        return rec.Value;
    if (rec.Lo <= Eng.T && Eng.T <= rec.Hi) {
        rec.CacheT = Eng.T;
        Evaluate(model, r);
        return rec.Value;
    }
    rec.CacheT = BigValue;
    Eng.EvalFailed = 1;
    model.EngineError = 25;
    NameFailure(model, r);
    return rec.Value;
}

// Two operands a (below) and b (top) become one; b is removed even when the operation fails.
#define BINARY(expr)                                   \
    do {                                               \
        const long double a = s[top - 1], b = s[top];  \
        --top;                                         \
        Store(s[top], (expr));                         \
    } while (0)
#define COMPARE(cond)                                  \
    do {                                               \
        const double a = s[top - 1], b = s[top];       \
        s[--top] = (cond) ? 1.0 : 0.0;                 \
    } while (0)
#define UNARY(expr)                                    \
    do {                                               \
        const long double x = s[top];                  \
        Store(s[top], (expr));                         \
    } while (0)
namespace {

// A reference: t itself, a solver state or a value already cached at this t are taken without a call.
inline double Reference(datarec& model, int r, int top)
{
    const FuncRec& rec = model.Records[r];
    if (r == 0 || rec.IsOde || Eng.T == rec.CacheT)
        if (!Eng.EvalFailed)
            return r == 0 ? Eng.T : rec.IsOde ? model.Y[r] : rec.Value;
    model.StackTop = top;
    return ValueAt(model, r);
}

}  // namespace

// The top is kept in a local; the model's StackTop is brought up to date before a nested evaluation.
#define PUSH(v)                                        \
    do {                                               \
        const double pushed = (v);                     \
        if (top >= StackSize) [[unlikely]]             \
            StackFull(model, pushed);                  \
        else                                           \
            s[++top] = pushed;                         \
    } while (0)
#define NESTED(call) (model.StackTop = top, (call))
// A failure leaves the stack as it is and ends the evaluation.
#define FAIL_IF(cond)                                  \
    if (cond) {                                        \
        Fail();                                        \
        break;                                         \
    }

void Evaluate(datarec& model, int r)
{
    const int savedTop = model.StackTop;
    const auto* code = reinterpret_cast<const unsigned char*>(model.Records[r].Code.data);
    double* const s = model.Stack;
    int top = savedTop;
    int pc = 0;
    do {
        switch (code[pc]) {
        case OpAdd: BINARY(a + b); break;
        case OpSub: BINARY(a - b); break;
        case OpMul: BINARY(a * b); break;
        case OpDiv:
            if (s[top] == 0) {
                Notice("1a");
                --top;
                Fail();
                break;
            }
            BINARY(a / b);
            break;
        case OpPow: {
            const double b = s[top--];
            const double v = Power(s[top], b);
            if (!Eng.EvalFailed)
                s[top] = v;
            break;
        }
        case OpLt: COMPARE(a < b); break;
        case OpGt: COMPARE(a > b); break;
        case OpLe: COMPARE(a <= b); break;
        case OpGe: COMPARE(a >= b); break;
        case OpEq: COMPARE(ApproxEqual(a, b)); break;
        case OpNe: COMPARE(!ApproxEqual(a, b)); break;
        case OpNeg: s[top] = -s[top]; break;
        case OpAbs: s[top] = std::fabs(s[top]); break;
        case OpSin: s[top] = SinD(s[top]); break;
        case OpCos: s[top] = CosD(s[top]); break;
        case OpTan: {
            const long double c = CosE(s[top]);
            FAIL_IF(c == 0);
            UNARY(SinE(x) / c);
            break;
        }
        case OpCot: {
            const long double sn = SinE(s[top]);
            FAIL_IF(sn == 0);
            UNARY(CosE(x) / sn);
            break;
        }
        case OpArctan: UNARY(std::atan(x)); break;
        case OpArccot: UNARY(HalfPiExtended - std::atan(x)); break;
        case OpArcsin: FAIL_IF(std::fabs(s[top]) > 1); s[top] = ArcSin(s[top]); break;
        case OpArccos: FAIL_IF(std::fabs(s[top]) > 1); UNARY(HalfPiExtended - ArcSin(x)); break;
        case OpSqrt: FAIL_IF(s[top] < 0); UNARY(std::sqrt(x)); break;
        case OpLn: FAIL_IF(s[top] <= 0); UNARY(std::log(x)); break;
        case OpLog: FAIL_IF(s[top] <= 0); UNARY(std::log(x) * Log10Factor); break;
        case OpExp: {
            const double v = Power(EulerE, s[top]);
            if (!Eng.EvalFailed)
                s[top] = v;
            break;
        }
        case OpNum: {
            double v;
            std::memcpy(&v, code + pc + 1, sizeof v);
            pc += 8;
            PUSH(v);
            break;
        }
        case OpConst: PUSH(model.ConstValues[code[++pc]]); break;
        case OpRef: PUSH(Reference(model, code[++pc], top)); break;
        case OpTable: {
            const TableRec& table = model.Tables[code[++pc]];
            Store(s[top], Interpolate(table, s[top]));
            break;
        }
        case OpIf: {
            const int branch = s[top] > 0 ? code[pc + 2] : code[pc + 4];
            pc += 4;
            s[top] = NESTED(ValueAt(model, branch));
            break;
        }
        case OpStop:
            Eng.StopFlag = 1;
            model.EngineError = 19;
            Fail();
            break;
        default: break;  // unknown bytes are skipped
        }
        ++pc;
    } while (!Eng.EvalFailed && code[pc] != OpEnd);

    FuncRec& rec = model.Records[r];
    if (Eng.EvalFailed) {
        rec.Value = 0;
        rec.CacheT = BigValue;
        if (model.EngineError == 0) {
            NameFailure(model, r);
            model.EngineError = 25;
        }
    } else {
        rec.Value = s[top];
    }
    model.StackTop = savedTop;
}
