// A family run: the script again at each other value of the family's list constant, drawing into the first
// run's graph pages, so that every graph shows one curve per value. The members run side by side, each in a
// compiler of its own, and are handed to the first run's pages in member order, as if run one after another.
#include "compiler/FamilyHost.h"
#include "compiler/FamilyMembers.h"
#include "compiler/ScriptCompiler.h"
#include "engine/Evaluator.h"

#include <algorithm>
#include <utility>

namespace tavlix {

namespace {

bool endedWell(ScriptError error)
{
    return error == ScriptError::None || error == ScriptError::StopConditionMet;
}

}  // namespace

void ScriptCompiler::runFamilyMembers(FamilyHost& family, const SettingsTexts& settings,
                                      const std::vector<std::string>& lines, const std::string& caption,
                                      RunResult& failure)
{
    const auto found = std::find_if(listParameters_.begin(), listParameters_.end(),
                                    [this](const ListParameter& p) { return p.key == familyKey_; });
    if (found == listParameters_.end() || run_->abandoned || !endedWell(lexer_.error()))
        return;
    // The first run's model, lists and numbering stay what the run reports; the members only draw. Its kept
    // integrations serve no member.
    run_->integrations.clear();
    const std::vector<ListParameter> mainParameters = listParameters_;
    std::vector<int> values;
    for (int member = 1; member <= static_cast<int>(found->values.size()); ++member)
        if (member != found->pick)
            values.push_back(member);
    FamilyMembers members({settings, lines, caption, picks_, constantValues_, familyKey_, family.pageCount(),
                           family.decimalSeparator(), run_->probe},
                          values);
    for (std::size_t i = 0; i < members.size(); ++i) {
        if (!members.waitFor(i, family)) {
            abandonRun(*run_, "");
            break;
        }
        FamilyMembers::Member& m = members.member(i);
        // The family's host labels the member's curves from the lists as the member took them.
        listParameters_ = m.compiler->listParameters();
        family.startMember();
        if (!m.recording->replay(family)) {
            abandonRun(*run_, "");
            break;
        }
        if (m.result.abandoned) {
            abandonRun(*run_, m.recording->faultText().c_str());
            break;
        }
        if (!endedWell(m.result.error)) {
            failure = m.result;
            model_ = m.compiler->takeModel();
            break;
        }
        members.release(i);
    }
    members.stop();
    listParameters_ = mainParameters;
}

}  // namespace tavlix
