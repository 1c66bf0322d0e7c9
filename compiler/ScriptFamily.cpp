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

ScriptCompiler::MemberEnd ScriptCompiler::runFamilyMembers(FamilyHost& family, EngineHost& runHost,
                                                           const ProgramRun& first, const SettingsTexts& settings,
                                                           const std::vector<std::string>& lines,
                                                           const std::string& caption, OutputProbe* probe)
{
    const auto found = std::find_if(listParameters_.begin(), listParameters_.end(),
                                    [this](const ListParameter& p) { return p.key == familyKey_; });
    if (found == listParameters_.end() || first.abandoned() || !endedWell(first.error()))
        return {};
    // The first run's lists and numbering stay what the run reports; the members only draw.
    const std::vector<ListParameter> firstParameters = listParameters_;
    const ListParameter familyParameter = *found;
    const int pageCount = resultPageCount_;
    ListPicks picks = picks_;
    MemberEnd end;
    for (int member = 1; member <= static_cast<int>(familyParameter.values.size()); ++member) {
        if (member == familyParameter.pick)
            continue;
        picks[familyKey_] = member;
        family.startMember();
        // Each member is a program of its own: nothing of the last member's failure may reach this one's message.
        auto program =
            std::make_shared<const CompiledProgram>(compile(settings, lines, picks, constantValues_, &runHost));
        listParameters_ = program->listParameters;  // the member's label reads its value from them
        auto run = std::make_unique<ProgramRun>(*program, runHost, probe);
        int pages = pageCount;
        run->execute(caption, pages);
        if (run->abandoned() || !endedWell(run->error())) {
            end = {std::move(program), std::move(run)};
            break;
        }
    }
    listParameters_ = firstParameters;
    return end;
}

}  // namespace tavlix
