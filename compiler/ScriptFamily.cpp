// A family run: the script again at each other value of the family's list constant, drawing into the first
// run's graph pages, so that every graph shows one curve per value. The members run side by side, beside the
// first run, each in a compiler of its own, and are handed to the first run's pages in member order, as if run one
// after another.
#include "compiler/FamilyHost.h"
#include "compiler/FamilyMembers.h"
#include "compiler/ScriptCompiler.h"
#include "engine/Evaluator.h"
#include "support/SettingsCalculator.h"

#include <algorithm>
#include <utility>

namespace tavlix {

namespace {

bool endedWell(ScriptError error)
{
    return error == ScriptError::None || error == ScriptError::StopConditionMet;
}

// A member takes the settings as they came out, without telling of the unreadable ones again.
SettingsTexts memberSettings(SettingsTexts settings)
{
    for (std::string& text : settings)
        if (evaluate(text).error != CalcError::None)
            text = "0";
    return settings;
}

}  // namespace

std::unique_ptr<FamilyMembers> ScriptCompiler::startFamilyMembers(FamilyHost& family, const CompiledProgram& program,
                                                                  const SettingsTexts& settings,
                                                                  const std::vector<std::string>& lines,
                                                                  const std::string& caption, OutputProbe* probe)
{
    // A program that fails ends its first run badly, and then no member is drawn.
    if (familyKey_.empty() || program.abandoned || program.error != ScriptError::None)
        return nullptr;
    const auto found = std::find_if(listParameters_.begin(), listParameters_.end(),
                                    [this](const ListParameter& p) { return p.key == familyKey_; });
    if (found == listParameters_.end())
        return nullptr;
    std::vector<int> values;
    for (int member = 1; member <= static_cast<int>(found->values.size()); ++member)
        if (member != found->pick)
            values.push_back(member);
    auto members =
        std::make_unique<FamilyMembers>(FamilyScript{memberSettings(settings), lines, caption, picks_, constantValues_,
                                                     familyKey_, family.decimalSeparator(), probe},
                                        values);
    family.tellPagesTo(&members->firstRunPages());
    return members;
}

void ScriptCompiler::runFamilyMembers(FamilyHost& family, ProgramRun& first, FamilyMembers& members, RunResult& failure)
{
    if (first.abandoned() || !endedWell(first.error()))
        return;
    members.firstRunEnded();
    // The first run's model, lists and numbering stay what the run reports; the members only draw.
    const std::vector<ListParameter> mainParameters = listParameters_;
    for (std::size_t i = 0; i < members.size(); ++i) {
        if (!members.waitFor(i, family)) {
            first.abandon("");
            break;
        }
        FamilyMembers::Member& m = members.member(i);
        // The family's host labels the member's curves from the lists as the member took them.
        listParameters_ = m.compiler->listParameters();
        family.startMember();
        if (!m.recording->replay(family)) {
            first.abandon("");
            break;
        }
        if (m.result.abandoned) {
            first.abandon(m.recording->faultText().c_str());
            break;
        }
        if (!endedWell(m.result.error)) {
            failure = m.result;
            runModel_ = std::move(m.compiler->runModel_);
            break;
        }
        members.release(i);
    }
    members.stop();
    listParameters_ = mainParameters;
}

}  // namespace tavlix
