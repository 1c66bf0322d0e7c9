// Compiles expressions and conditions of a script into reverse-polish code in the model's records.
// ExpressionCompiler.cpp holds the arithmetic, ExpressionConditions.cpp the conditional and its conditions.
#pragma once

#include "compiler/Lexer.h"
#include "compiler/NameTable.h"
#include "engine/Model.h"
#include "engine/RunState.h"

#include <functional>
#include <string>
#include <vector>

namespace tavlix {

// Reads its tokens from the script compiler's lexer and writes into the model of the run being compiled.
class ExpressionCompiler {
public:
    // Deeper nesting of parentheses, powers or conditions than this is refused with ExpressionTooComplex.
    static constexpr int MaxNesting = 200;

    explicit ExpressionCompiler(Lexer& lexer) : lexer_(lexer) {}

    // Presets the model and the name table for a new script; both stay in use until endParse.
    void beginParse(Model& model, RunState& run);
    void endParse();

    // Compiles an expression as the code of the record.
    void compileExpressionInto(int record);
    // Compiles and computes a constant expression at t = 0 for what is being declared (a constant, a table, an
    // initial value or a domain bound of the name); the value is also left in record 0's value.
    double evaluateConstant(std::string_view declared);
    // The last evaluateConstant of this parse could not compute its value: the error names the declaration.
    bool constantFailed() const { return constantFailed_; }
    // Declares the current name token as a function record (or completes a forward reference).
    void declareFunction();
    // The record the last declareFunction declared.
    int lastDeclaredRecord() const { return lastDeclaredRecord_; }

    NameTable& names() { return names_; }
    const NameTable& names() const { return names_; }
    // In the differential equations a name may be used before it is defined.
    void setInOdeSection(bool inOdeSection) { inOdeSection_ = inOdeSection; }
    bool hasPendingNames() const { return !pendingNames_.empty(); }
    // The names used before their definition, each between asterisks (at most 255 characters).
    std::string_view pendingNamesText() const { return pendingNamesText_.view(); }

private:
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

    void expression();
    // A sign is allowed only on the first operand of an expression: 2*-3 and 1--2 are CannotStandHere.
    void term(bool signAllowed);
    void signedFactor(bool signAllowed);
    void power();
    void primary();
    void condition();
    void conjunction();
    void comparison();
    void ifExpression();
    void nameOperand();
    void functionCall();
    void tableLookup(int table);
    bool argument();  // false when it failed
    void joinOperands(TokenKind op, const std::function<void()>& operand);
    bool enterNesting();  // false (ExpressionTooComplex) when nesting is too deep
    FunctionRecord& record(int r) { return growTo(model_->script.records, r); }
    void updatePendingNamesText();

    Lexer& lexer_;
    Model* model_ = nullptr;
    RunState* run_ = nullptr;
    NameTable names_;
    CodeWords code_;  // the code being built for one expression
    // The names used in differential equations before their definition, in full.
    std::vector<std::string> pendingNames_;
    ShortString<255> pendingNamesText_;
    int compileTarget_ = 0;  // the record whose expression is being compiled
    int lastDeclaredRecord_ = 0;
    bool inOdeSection_ = false;
    bool constantFailed_ = false;
    int depth_ = 0;
};

}  // namespace tavlix
