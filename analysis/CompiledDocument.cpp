// Compiles a document without generating its pages and keeps the model for evaluating its records.
#include "analysis/CompiledDocument.h"

#include "compiler/ScriptCompiler.h"
#include "engine/EngineHost.h"
#include "engine/Evaluator.h"
#include "engine/ScriptCopy.h"
#include "support/Cp1252Table.h"

#include <cstdint>
#include <utility>

namespace tavlix {

CompiledDocument::CompiledDocument(SettingsTexts settings, std::vector<std::string> lines, ListPicks picks)
    : settingsTexts_(std::move(settings)), lines_(std::move(lines)), picks_(std::move(picks))
{
    run_.host = &quietHost_;
}

CompiledDocument::CompiledDocument(const Model& runModel) : model_(std::make_unique<Model>())
{
    run_.host = &quietHost_;
    copyCompiledScript(runModel.script, *model_);
}

CompiledDocument::~CompiledDocument() = default;

bool CompiledDocument::compile(const ConstantValues& values)
{
    ScriptCompiler compiler;
    const CompiledProgram program = compiler.compile(settingsTexts_, lines_, picks_, values);
    const RunResult result = ProgramRun::compileResult(program);
    plainConstants_ = program.plainConstants;
    error_ = result.message;
    if (result.error != ScriptError::None || result.abandoned) {
        model_.reset();
        if (error_.empty())
            error_ = "Scriptet kan ikke overs\xE6ttes";
        return false;
    }
    // A copy of its own: the analysis evaluates it, and its values are cached in it.
    model_ = std::make_unique<Model>();
    model_->adoptScript(program.model->script);
    model_->script.settings = program.settings;
    return true;
}

std::string CompiledDocument::keyOf(const std::string& name)
{
    std::string lower = name;
    for (char& c : lower)
        c = static_cast<char>(LowerCaseMap[static_cast<std::uint8_t>(c)]);
    return lower;
}

int CompiledDocument::recordOf(const std::string& name) const
{
    const std::string key = keyOf(name);
    const CompiledScript& s = model_->script;
    for (int r = 1; r <= s.recordCount; ++r)
        if (s.records[r].name.view() == key)
            return r;
    return key == "t" ? 0 : -1;
}

const PointTable* CompiledDocument::tableOf(const std::string& name) const
{
    const std::string key = keyOf(name);
    const CompiledScript& s = model_->script;
    for (int i = 1; i <= s.tableCount; ++i)
        if (s.tables[i].name.view() == key)
            return &s.tables[i];
    return nullptr;
}

bool CompiledDocument::hasEquations() const
{
    const CompiledScript& s = model_->script;
    for (int r = 1; r <= s.lastOdeRecord; ++r)
        if (s.records[r].isOdeVariable)
            return true;
    return false;
}

bool CompiledDocument::followsSolution(int record) const
{
    return record > model_->script.lastPlainRecord && hasEquations();
}

void CompiledDocument::clearCaches()
{
    for (int r = 1; r <= model_->script.recordCount; ++r)
        model_->script.records[r].cachedT = BigValue;
}

bool CompiledDocument::plainValue(int record, double t, double& value)
{
    run_.t = t;
    run_.failed = run_.abandoned = run_.stopped = false;
    model_->error = ScriptError::None;
    model_->stackTop = 0;
    value = valueAt(*model_, run_, record);
    return !run_.failed && !run_.abandoned;
}

}  // namespace tavlix
