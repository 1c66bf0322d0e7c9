// A document's script compiled once for analysis, with chosen values of its plain-number constants.
#pragma once

#include "compiler/ListParameters.h"
#include "engine/EngineHost.h"
#include "engine/Model.h"
#include "engine/RunState.h"
#include "support/DocumentFile.h"

#include <memory>
#include <string>
#include <vector>

namespace tavlix {

class CompiledDocument {
public:
    CompiledDocument(SettingsTexts settings, std::vector<std::string> lines, ListPicks picks = {});
    // A private copy of a run's compiled script with its settings, for analyses after the run; compile() is not
    // needed (and not possible) for it.
    explicit CompiledDocument(const Model& runModel);
    ~CompiledDocument();
    CompiledDocument(const CompiledDocument&) = delete;
    CompiledDocument& operator=(const CompiledDocument&) = delete;

    // Compiles the script with these constants changed; false with the message (Windows-1252) when it fails.
    bool compile(const ConstantValues& values = {});
    const std::string& errorMessage() const { return error_; }

    // The plain-number constants of the last compile, with the values it used.
    const std::vector<PlainConstant>& plainConstants() const { return plainConstants_; }
    // A name as the compiler keys it: in lower case (Windows-1252).
    static std::string keyOf(const std::string& name);
    // The record of a function or differential-equation variable by name (any case); -1 when there is none.
    int recordOf(const std::string& name) const;
    // The table by name (any case); nullptr when there is none.
    const PointTable* tableOf(const std::string& name) const;
    // Whether a record's value follows the differential equations' solution.
    bool followsSolution(int record) const;
    bool hasEquations() const;

    // The compiled model with its settings; only valid after a successful compile.
    Model& model() { return *model_; }
    RunState& run() { return run_; }
    const CoordinateSettings& settings() const { return model_->script.settings; }

    // The value of a record that does not follow the solution, at t; false where it is undefined.
    bool plainValue(int record, double t, double& value);
    // Forgets every cached record value: the state or t changed under them.
    void clearCaches();

private:
    SettingsTexts settingsTexts_;
    std::vector<std::string> lines_;
    ListPicks picks_;
    std::unique_ptr<Model> model_;
    NullHost quietHost_;  // nobody watches these evaluations: a notice only fails a value
    RunState run_;
    std::string error_;
    std::vector<PlainConstant> plainConstants_;
};

}  // namespace tavlix
