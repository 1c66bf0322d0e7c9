// The members of a family run, each in a compiler of its own on a thread of its own, handed over in member order.
#include "compiler/FamilyMembers.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace tavlix {

namespace {

// How often the owner is asked whether to go on while it waits: often enough for Escape to feel immediate.
constexpr std::chrono::milliseconds AskEvery{50};

std::size_t workerCount(const FamilyScript& script)
{
    if (script.probe)
        return 1;  // a probe hears one run at a time
    return std::max(1U, std::thread::hardware_concurrency());
}

}  // namespace

FamilyMembers::FamilyMembers(FamilyScript script, const std::vector<int>& values)
    : script_(std::move(script)), workers_(workerCount(script_)), cores_(workers_ - 1)
{
    for (const int value : values) {
        auto m = std::make_unique<Member>();
        m->value = value;
        members_.push_back(std::move(m));
    }
    threads_.resize(members_.size());
    const std::lock_guard lock(mutex_);
    startMore();
}

FamilyMembers::~FamilyMembers()
{
    stop();
    for (std::thread& t : threads_)
        if (t.joinable())
            t.join();
}

void FamilyMembers::start(std::size_t i)
{
    Member& m = *members_[i];
    m.compiler = std::make_unique<ScriptCompiler>();
    ListPicks picks = script_.picks;
    picks[script_.key] = m.value;
    m.compiler->setPicks(std::move(picks));
    m.compiler->setConstantValues(script_.constantValues);
    // The family's run counts the members' notices with its own.
    m.compiler->setNoticeLimit(false);
    m.recording = std::make_unique<MemberRecording>(stop_, firstRunPages_, script_.decimalSeparator);
    threads_[i] = std::thread([this, &m] { runMember(m); });
    started_ = i + 1;
    ++running_;
}

void FamilyMembers::startMore()
{
    while (started_ < members_.size() && running_ < cores_ && started_ - released_ < workers_ + 1 && !stop_)
        start(started_);
}

void FamilyMembers::firstRunEnded()
{
    firstRunPages_.close();
    const std::lock_guard lock(mutex_);
    cores_ = workers_;
    startMore();
}

void FamilyMembers::stop()
{
    {
        // Under the lock: a member ending now starts no other once this returns.
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    // A member waiting to learn whether it has a page must not wait for a first run that will tell no more.
    firstRunPages_.close();
}

void FamilyMembers::runMember(Member& member)
{
    RunResult result =
        member.compiler->run(script_.settings, script_.lines, script_.caption, *member.recording, script_.probe);
    const std::lock_guard lock(mutex_);
    member.result = std::move(result);
    member.done = true;
    --running_;
    startMore();
    finished_.notify_all();
}

bool FamilyMembers::waitFor(std::size_t i, EngineHost& owner)
{
    std::unique_lock lock(mutex_);
    while (!members_[i]->done) {
        if (finished_.wait_for(lock, AskEvery, [&] { return members_[i]->done; }))
            break;
        lock.unlock();
        const bool going = owner.keepGoing();
        lock.lock();
        if (!going) {
            stop_ = true;
            return false;
        }
    }
    lock.unlock();
    threads_[i].join();
    return true;
}

void FamilyMembers::release(std::size_t i)
{
    members_[i]->recording.reset();
    members_[i]->compiler.reset();
    const std::lock_guard lock(mutex_);
    ++released_;
    startMore();
}

}  // namespace tavlix
