// One run of a compiled program: its output sections made into pages in order, then the error that ends it.
#include "compiler/ProgramRun.h"

#include "compiler/ScriptErrors.h"
#include "compiler/ScriptHints.h"
#include "engine/Evaluator.h"
#include "engine/OutputGenerator.h"

namespace tavlix {

namespace {

// The error's message and hint at its place; what could not be computed, and at which t, come from failure.
RunResult describe(const CompiledProgram& program, ScriptError error, const ErrorPlace& place, std::string_view failed,
                   bool declaration, double t)
{
    RunResult result;
    result.error = error;
    result.caretOffset = place.caretOffset;
    result.caretLine = place.caretLine;
    result.caretColumn = place.caretColumn;
    std::string_view tokenText = error == ScriptError::CannotCompute ? failed : std::string_view(place.tokenText);
    if (const char* expected = expectedTokenText(error))
        tokenText = expected;
    result.message = error == ScriptError::CannotCompute && declaration
                         ? declarationFailureMessage(tokenText)
                         : errorMessage(error, tokenText, place.lastName, t);
    if (place.hasLine) {
        const bool atFirstWord = place.tokenStart == program.firstTokenStart;
        result.hint = errorHint({error, place.line, place.caretColumn, place.tokenText, place.lastName,
                                 &program.declaredNames, atFirstWord, program.outputNamesTable});
    }
    return result;
}

}  // namespace

ProgramRun::ProgramRun(const CompiledProgram& program, EngineHost& host, OutputProbe* probe) : program_(program)
{
    state_.host = &host;
    state_.probe = probe;
}

ProgramRun::~ProgramRun() = default;

void ProgramRun::execute(const std::string& caption, int& pageCount)
{
    for (const RecordedNotice& n : program_.notices) {
        if (n.isText)
            state_.host->showNoticeText(n.text);
        else
            state_.host->showNotice(n.notice, n.t);
    }
    if (program_.abandoned) {
        state_.abandoned = true;
        state_.faultText.assign(program_.faultText);
        error_ = ScriptError::Abandoned;
        return;
    }
    model_ = std::make_unique<Model>();
    model_->adoptScript(program_.model->script);
    model_->script.settings = program_.settings;
    for (const OutputSection& section : program_.sections)
        if (!runSection(section, caption, pageCount))
            break;
    // What the sections kept of their integrations serves nothing after them.
    state_.integrations.clear();
    if (error_ == ScriptError::None) {
        error_ = program_.error;
        place_ = &program_.errorPlace;
    }
}

// False when the section's generation ended the run.
bool ProgramRun::runSection(const OutputSection& section, const std::string& caption, int& pageCount)
{
    Model& m = *model_;
    m.script.outputs = section.outputs;
    m.script.outputCount = static_cast<int>(section.outputs.size()) - 1;
    state_.stopped = false;
    if (m.script.outputCount == 0)
        return true;
    // Only a later section can replay an integration; the last one keeps nothing.
    state_.integrations.setKeeping(!section.end.endsScript);
    ScriptError error =
        section.graph ? generateGraph(m, state_, caption, pageCount) : generateTable(m, state_, caption, pageCount);
    if (state_.abandoned)
        error = ScriptError::Abandoned;
    // A stop condition ends only its own page when more sections follow.
    if (error == ScriptError::StopConditionMet && !section.end.endsScript) {
        state_.failed = false;
        state_.stopped = false;
        return true;
    }
    if (error == ScriptError::None)
        return true;
    error_ = error;
    place_ = &section.end;
    return false;
}

void ProgramRun::abandon(const char* faultText)
{
    abandonRun(state_, faultText);
    error_ = ScriptError::Abandoned;
}

RunResult ProgramRun::finish(EngineHost& host) const
{
    RunResult result;
    if (state_.abandoned) {
        result.abandoned = true;
        if (!state_.faultText.empty())
            host.reportFault(state_.faultText.str());
        return result;
    }
    if (error_ == ScriptError::None || !place_)
        return result;
    const bool compiled = place_ == &program_.errorPlace;
    result = compiled ? compileResult(program_)
                      : describe(program_, error_, *place_, state_.failedName.view(), false, state_.t);
    host.showScriptError(result.message);
    return result;
}

RunResult ProgramRun::compileResult(const CompiledProgram& program)
{
    RunResult result;
    if (program.abandoned) {
        result.abandoned = true;
        return result;
    }
    if (program.error == ScriptError::None)
        return result;
    return describe(program, program.error, program.errorPlace, program.failedName, program.declarationFailed, 0.0);
}

}  // namespace tavlix
