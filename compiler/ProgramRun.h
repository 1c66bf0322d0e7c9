// One run of a compiled program: its output sections made into pages in order, then the error that ends it.
#pragma once

#include "compiler/CompiledProgram.h"
#include "engine/EngineHost.h"
#include "engine/RunState.h"

#include <memory>
#include <string>

namespace tavlix {

class OutputProbe;

struct RunResult {
    ScriptError error = ScriptError::None;
    // Where the caret goes: the 0-based offset into the script with CR LF counted as two characters
    // (the token start - 1), and the same place as a 0-based line and byte column. -1 when no error.
    int caretOffset = -1;
    int caretLine = -1;
    int caretColumn = -1;
    std::string message;  // the status-line text (Windows-1252); empty without error
    std::string hint;     // a hint for a common mistake behind the error (Windows-1252); often empty
    // A fault or the user ended the run; the host was told (reportFault when there is a text).
    // error is then None and no message is shown.
    bool abandoned = false;
};

class ProgramRun {
public:
    // The program must outlive the run; host receives the pages, notices and interruptions.
    ProgramRun(const CompiledProgram& program, EngineHost& host, OutputProbe* probe = nullptr);
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    // Shows the notices met while compiling, then makes the sections' pages in order until one fails or the
    // program's own error is reached. The captions are numbered on from pageCount, which counts the pages made.
    void execute(const std::string& caption, int& pageCount);
    // The error the run ended on (None when it made every page); Abandoned when it was interrupted.
    ScriptError error() const { return error_; }
    bool abandoned() const { return state_.abandoned; }
    // Ends the run as interrupted after the fact (a family's member was stopped or failed); faultText, when not
    // empty, is reported by finish.
    void abandon(const char* faultText);
    // Tells the host what ended the run (the fault, or the error's message) and returns it with its caret.
    RunResult finish(EngineHost& host) const;
    // The model the run evaluated, with its last section's outputs; nullptr before execute.
    std::unique_ptr<Model> takeModel() { return std::move(model_); }

    // The error of a program that is only checked, not run: the compile's own, with message and hint.
    static RunResult compileResult(const CompiledProgram& program);

private:
    bool runSection(const OutputSection& section, const std::string& caption, int& pageCount);

    const CompiledProgram& program_;
    RunState state_;
    std::unique_ptr<Model> model_;
    ScriptError error_ = ScriptError::None;
    const ErrorPlace* place_ = nullptr;  // where the error points
};

}  // namespace tavlix
