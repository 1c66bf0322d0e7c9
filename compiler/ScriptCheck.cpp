// The check while typing: the script compiled as a run would be, with nothing generated, shown or made.
#include "compiler/ScriptCompiler.h"

namespace tavlix {

namespace {

// Makes no pages and shows nothing; refuses to go on once the budget is spent.
class CheckHost : public EngineHost {
public:
    explicit CheckHost(std::chrono::milliseconds budget) : deadline_(std::chrono::steady_clock::now() + budget) {}
    TableSink* createTablePage(const std::string&) override { return nullptr; }
    GraphSink* createGraphPage(const std::string&) override { return nullptr; }
    void showNoticeText(const std::string&) override {}
    void reportFault(const std::string&) override {}
    void showScriptError(const std::string&) override {}
    bool keepGoing() override { return std::chrono::steady_clock::now() < deadline_; }
    bool keepStepping() override { return keepGoing(); }

private:
    std::chrono::steady_clock::time_point deadline_;
};

}  // namespace

RunResult ScriptCompiler::check(const std::vector<std::string>& lines, std::chrono::milliseconds budget)
{
    CheckHost host(budget);
    RunState state;
    state.host = &host;
    run_ = &state;
    model_ = std::make_unique<Model>();
    generates_ = false;
    lexer_.startReading(sourceOf(lines));
    parseScript("");
    keepDeclaredNames();
    expressions_.endParse();
    generates_ = true;
    return endRun(state, lines, host);
}

}  // namespace tavlix
