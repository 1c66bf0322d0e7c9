// A family run: the script again at each other value of the family's list constant, drawing into the first
// run's graph pages, so that every graph shows one curve per value.
#include "compiler/FamilyHost.h"
#include "compiler/ScriptCompiler.h"

#include <algorithm>
#include <utility>

namespace tavlix {

namespace {

bool endedWell(ScriptError error)
{
    return error == ScriptError::None || error == ScriptError::StopConditionMet;
}

}  // namespace

void ScriptCompiler::runFamilyMembers(FamilyHost& family, const CoordinateSettings& settings, const std::string& source,
                                      const std::string& caption)
{
    const auto found = std::find_if(listParameters_.begin(), listParameters_.end(),
                                    [this](const ListParameter& p) { return p.key == familyKey_; });
    const ScriptError mainError = lexer_.error();
    if (found == listParameters_.end() || run_->abandoned || !endedWell(mainError))
        return;
    // The first run's model, lists and numbering stay what the run reports; the members only draw.
    std::unique_ptr<Model> mainModel = std::move(model_);
    const std::vector<ListParameter> mainParameters = listParameters_;
    const ListPicks mainPicks = picks_;
    const int pageCount = resultPageCount_;
    const ListParameter familyParameter = *found;
    RunState& state = *run_;
    for (int member = 1; member <= static_cast<int>(familyParameter.values.size()); ++member) {
        if (member == familyParameter.pick)
            continue;
        picks_[familyKey_] = member;
        family.startMember();
        // Each member starts clean: nothing of the last member's failure may reach this one's message.
        RunState fresh;
        fresh.host = state.host;
        fresh.probe = state.probe;
        state = fresh;
        model_ = std::make_unique<Model>();
        model_->script.settings = settings;
        lexer_.stopReading();
        lexer_.startReading(source);
        parseScript(caption);
        expressions_.endParse();
        resultPageCount_ = pageCount;
        if (state.abandoned || !endedWell(lexer_.error()))
            break;
        // Each run ends at the same token; a stop condition in a member does not make the whole run one.
        lexer_.setError(mainError);
    }
    picks_ = mainPicks;
    listParameters_ = mainParameters;
    if (!state.abandoned && endedWell(lexer_.error()))
        model_ = std::move(mainModel);
}

}  // namespace tavlix
