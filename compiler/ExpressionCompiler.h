// Compiles expressions and conditions of a script into reverse-polish code in the model's records.
#pragma once

#include "compiler/Lexer.h"
#include "compiler/NameTable.h"
#include "engine/Model.h"

#include <memory>
#include <string>
#include <vector>

class ExpressionCompiler : public Lexer {
public:
    // Deeper nesting of parentheses, powers or conditions than this is refused with error 16.
    static constexpr int MaxNesting = 200;
    // ErrorCode while a run is being abandoned (a fault or the user); no message belongs to it.
    static constexpr int AbandonedCode = 100;

    std::unique_ptr<datarec> Model;
    NameTable Names;
    std::string CodeText;  // the code being built for one expression
    // The names used in differential equations before their definition, in full; the model's
    // Pending text is these names between asterisks.
    std::vector<std::string> PendingNames;

    // Presets the model and the name table and reads the first character of Source.
    void ParsesetUp();
    void EndParse();

    void reversepolish();
    // Compiles and computes a constant expression; the value goes to the Lo (false) or Hi (true) of
    // the record that was CodeTarget, and stays in record 0's Value.
    void evkonst(bool flag);
    void Udtryk();
    // A sign is allowed only on the first operand of an Udtryk: 2*-3 and 1--2 are error 21.
    void produkt(bool signAllowed);
    void factor(bool signAllowed);
    void Potens();
    void arg();
    void Bool();  // the condition level named "bool"
    void ie();
    void ulh();
    void hvispr();

    // Declares the current name token as a function record (or completes a forward reference).
    void FktIdInstall();

protected:
    FuncRec& Record(int r) { return Model->Records[r]; }
    void SetPendingText();

private:
    void ArgName();
    void ArgCall();
    void ArgTable(int table);
    bool Enter();  // false (error 16) when nesting is too deep
    int depth_ = 0;
    friend class NestingGuard;
};
