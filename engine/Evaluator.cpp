// The byte-code interpreter: runs a record's reverse-polish code on the model's stack in extended precision.
#include "engine/Evaluator.h"

#include "engine/EngineHost.h"
#include "engine/Opcodes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tavlix {

namespace {

constexpr long double HalfPiExtended = 1.5707963267948966192L;
constexpr double HalfPiDouble = 1.5707963267948966;  // bits 3FF921FB54442D18
constexpr long double ApproxSlack = 1e-26L;
constexpr long double ApproxFactor = 5e-10L;
constexpr long double PowerLimit = 88.0L;
constexpr double PowerUnderflow = 2e-39;                   // bits 37E5C72FB1552D83
constexpr long double TrigLimit = 9223372036854775808.0L;  // 2^63: beyond it sin and cos give 0
const double EulerE = static_cast<double>(std::exp(1.0L));

const char* const OverflowText =
    "Overl\xF8"
    "b: et tal blev for stort til at regne med";

void notify(RunState& run, Notice notice)
{
    if (run.host)
        run.host->showNotice(notice, run.t);
}

// Below this magnitude an extended value rounds to a finite double (2^1024 - 2^970, the midpoint above DBL_MAX).
constexpr long double DoubleLimit = 0x1.fffffffffffff8p+1023L;

// Rounds an extended result to double; a result beyond the double range (or NaN) abandons the run, or during the
// pole search only fails the value (near a pole that is what a value does). The test is made on the extended
// value so the rounded result goes straight to its slot.
inline bool store(RunState& run, double& slot, long double v)
{
    if (!(std::fabs(v) < DoubleLimit)) [[unlikely]] {
        if (run.probing)
            run.failed = true;
        else
            abandonRun(run, OverflowText);
        return false;
    }
    slot = static_cast<double>(v);
    return true;
}

void nameFailure(Model& model, RunState& run, int r)
{
    run.failedName.assign(model.script.records[r].name.view().substr(0, 25));
}

long double sinE(long double x)
{
    return std::fabs(x) >= TrigLimit ? 0.0L : std::sin(x);
}
long double cosE(long double x)
{
    return std::fabs(x) >= TrigLimit ? 0.0L : std::cos(x);
}
// sin and cos alone: the argument is a double and the result is stored at once, so the double routines give
// the extended result rounded to double (within an ulp) at a fraction of the time.
double sinD(double x)
{
    return std::fabs(x) >= static_cast<double>(TrigLimit) ? 0.0 : std::sin(x);
}
double cosD(double x)
{
    return std::fabs(x) >= static_cast<double>(TrigLimit) ? 0.0 : std::cos(x);
}

// Linear interpolation in table j; the sentinel ends at +-BigValue make the outer pieces flat. The piece is the
// first whose right end is not left of x (the first for NaN), found by halving: tables may be long.
long double interpolate(const PointTable& table, double x)
{
    const auto first = table.points.begin() + 1;
    const auto last = first + table.pointCount;
    const auto right = std::lower_bound(first, last, x, [](const TablePoint& p, double v) { return p.x < v; });
    const auto k = static_cast<std::size_t>(right - first);
    const TablePoint& p0 = table.points[k];
    const TablePoint& p1 = table.points[k + 1];
    return p0.y + (static_cast<long double>(x) - p0.x) / (static_cast<long double>(p1.x) - p0.x) *
                      (static_cast<long double>(p1.y) - p0.y);
}

// A push onto the full stack: the value stays on entry 100 and the evaluation fails.
void stackFull(Model& model, RunState& run, double v)
{
    notify(run, Notice::Overflow);
    run.failed = true;
    model.error = ScriptError::StackOverflow;
    model.stack[StackSize] = v;
}

}  // namespace

double roundToDouble(RunState& run, long double v)
{
    double d = 0;
    store(run, d, v);
    return d;
}

void abandonRun(RunState& run, const char* text)
{
    run.failed = true;
    if (run.abandoned)
        return;
    run.abandoned = true;
    run.faultText.assign(text);
}

bool approxEqual(double a, double b)
{
    const long double la = a, lb = b;
    return std::fabs(lb - la) < (std::fabs(lb) + std::fabs(la) + ApproxSlack) * ApproxFactor;
}

double arcSin(double x)
{
    if (std::fabs(x) == 1)
        return x > 0 ? HalfPiDouble : -HalfPiDouble;
    const long double lx = x;
    return static_cast<double>(std::atan(lx / std::sqrt(1.0L - lx * lx)));
}

double wholePower(RunState& run, double a, long n)
{
    if (n == 0)
        return 1;
    if (n < 0) {
        if (a == 0) {
            notify(run, Notice::ZeroToNegativePower);
            run.failed = true;
            return 0;
        }
        double r = 0;
        store(run, r, 1.0L / wholePower(run, a, -n));
        return r;
    }
    double r = 0;
    if (n % 2 != 0) {
        store(run, r, static_cast<long double>(wholePower(run, a, n - 1)) * a);
    } else {
        const long double p = wholePower(run, a, n / 2);
        store(run, r, p * p);
    }
    return r;
}

double power(RunState& run, double a, double b)
{
    if (std::trunc(b) == b && std::fabs(b) <= 2147483647.0)
        return wholePower(run, a, static_cast<long>(b));
    if (a <= 0) {
        notify(run, Notice::NegativeBaseFractionalPower);
        run.failed = true;
        return 1;
    }
    const long double c = b * std::log(static_cast<long double>(a));
    if (-c > PowerLimit)
        return PowerUnderflow;
    if (c > PowerLimit) {
        notify(run, Notice::Overflow);
        run.failed = true;
        return 1;
    }
    return static_cast<double>(std::exp(c));
}

double valueAt(Model& model, RunState& run, int r)
{
    if (run.failed)
        return 0;
    if (r == 0)
        return run.t;
    FunctionRecord& rec = model.script.records[r];
    if (rec.isOdeVariable)
        return model.rkf.y[r];
    if (run.t == rec.cachedT)
        return rec.value;
    if (rec.domainLo <= run.t && run.t <= rec.domainHi) {
        rec.cachedT = run.t;
        evaluateRecord(model, run, r);
        return rec.value;
    }
    rec.cachedT = BigValue;
    run.failed = true;
    model.error = ScriptError::CannotCompute;
    nameFailure(model, run, r);
    return rec.value;
}

// Two operands a (below) and b (top) become one; b is removed even when the operation fails.
#define BINARY(expr)                                  \
    do {                                              \
        const long double a = s[top - 1], b = s[top]; \
        --top;                                        \
        store(run, s[top], (expr));                   \
    } while (0)
#define COMPARE(cond)                            \
    do {                                         \
        const double a = s[top - 1], b = s[top]; \
        s[--top] = (cond) ? 1.0 : 0.0;           \
    } while (0)
#define UNARY(expr)                   \
    do {                              \
        const long double x = s[top]; \
        store(run, s[top], (expr));   \
    } while (0)
namespace {

// A reference: t itself, a solver state or a value already cached at this t are taken without a call.
inline double reference(Model& model, RunState& run, int r, int top)
{
    const FunctionRecord& rec = model.script.records[r];
    if (r == 0 || rec.isOdeVariable || run.t == rec.cachedT)
        if (!run.failed)
            return r == 0 ? run.t : rec.isOdeVariable ? model.rkf.y[r] : rec.value;
    model.stackTop = top;
    return valueAt(model, run, r);
}

}  // namespace

// The top is kept in a local; the model's StackTop is brought up to date before a nested evaluation.
#define PUSH(v)                            \
    do {                                   \
        const double pushed = (v);         \
        if (top >= StackSize) [[unlikely]] \
            stackFull(model, run, pushed); \
        else                               \
            s[++top] = pushed;             \
    } while (0)
#define NESTED(call) (model.stackTop = top, (call))
// A failure leaves the stack as it is and ends the evaluation.
#define FAIL_IF(cond)      \
    if (cond) {            \
        run.failed = true; \
        break;             \
    }

void evaluateRecord(Model& model, RunState& run, int r)
{
    const int savedTop = model.stackTop;
    const std::int32_t* const code = model.script.records[r].code.data();
    const double* const numbers = model.script.numbers.data();
    double* const s = model.stack;
    int top = savedTop;
    int pc = 0;
    do {
        switch (static_cast<OpCode>(code[pc])) {
        case OpCode::Add: BINARY(a + b); break;
        case OpCode::Sub: BINARY(a - b); break;
        case OpCode::Mul: BINARY(a * b); break;
        case OpCode::Div:
            if (s[top] == 0) {
                notify(run, Notice::DivisionByZero);
                --top;
                run.failed = true;
                break;
            }
            BINARY(a / b);
            break;
        case OpCode::Pow: {
            const double b = s[top--];
            const double v = power(run, s[top], b);
            if (!run.failed)
                s[top] = v;
            break;
        }
        case OpCode::Lt: COMPARE(a < b); break;
        case OpCode::Gt: COMPARE(a > b); break;
        case OpCode::Le: COMPARE(a <= b); break;
        case OpCode::Ge: COMPARE(a >= b); break;
        case OpCode::Eq: COMPARE(approxEqual(a, b)); break;
        case OpCode::Ne: COMPARE(!approxEqual(a, b)); break;
        case OpCode::Neg: s[top] = -s[top]; break;
        case OpCode::Abs: s[top] = std::fabs(s[top]); break;
        case OpCode::Sin: s[top] = sinD(s[top]); break;
        case OpCode::Cos: s[top] = cosD(s[top]); break;
        case OpCode::Tan: {
            const long double c = cosE(s[top]);
            FAIL_IF(c == 0);
            UNARY(sinE(x) / c);
            break;
        }
        case OpCode::Cot: {
            const long double sn = sinE(s[top]);
            FAIL_IF(sn == 0);
            UNARY(cosE(x) / sn);
            break;
        }
        case OpCode::Arctan: UNARY(std::atan(x)); break;
        case OpCode::Arccot: UNARY(HalfPiExtended - std::atan(x)); break;
        case OpCode::Arcsin:
            FAIL_IF(std::fabs(s[top]) > 1);
            s[top] = arcSin(s[top]);
            break;
        case OpCode::Arccos:
            FAIL_IF(std::fabs(s[top]) > 1);
            UNARY(HalfPiExtended - arcSin(x));
            break;
        case OpCode::Sqrt:
            FAIL_IF(s[top] < 0);
            UNARY(std::sqrt(x));
            break;
        case OpCode::Ln:
            FAIL_IF(s[top] <= 0);
            UNARY(std::log(x));
            break;
        case OpCode::Log:
            FAIL_IF(s[top] <= 0);
            UNARY(std::log10(x));  // extended precision: exact at powers of ten, so log(100) is 2
            break;
        case OpCode::Exp: {
            const double v = power(run, EulerE, s[top]);
            if (!run.failed)
                s[top] = v;
            break;
        }
        case OpCode::Num: PUSH(numbers[code[++pc]]); break;
        case OpCode::Const: PUSH(model.script.constantValues[code[++pc]]); break;
        case OpCode::Ref: PUSH(reference(model, run, code[++pc], top)); break;
        case OpCode::Table: {
            const PointTable& table = model.script.tables[code[++pc]];
            store(run, s[top], interpolate(table, s[top]));
            break;
        }
        case OpCode::If: {
            const int branch = s[top] > 0 ? code[pc + 1] : code[pc + 2];
            pc += 2;
            s[top] = NESTED(valueAt(model, run, branch));
            break;
        }
        case OpCode::Stop:
            run.stopped = true;
            model.error = ScriptError::StopConditionMet;
            run.failed = true;
            break;
        default: break;  // unknown bytes are skipped
        }
        ++pc;
    } while (!run.failed && code[pc] != static_cast<std::int32_t>(OpCode::End));

    FunctionRecord& rec = model.script.records[r];
    if (run.failed) {
        rec.value = 0;
        rec.cachedT = BigValue;
        if (model.error == ScriptError::None) {
            nameFailure(model, run, r);
            model.error = ScriptError::CannotCompute;
        }
    } else {
        rec.value = s[top];
    }
    model.stackTop = savedTop;
}

}  // namespace tavlix
