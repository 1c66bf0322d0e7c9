// The members of a family run, each in a compiler of its own on a thread of its own, handed over in member order.
#pragma once

#include "compiler/FamilyPageGate.h"
#include "compiler/ListParameters.h"
#include "compiler/MemberRecording.h"
#include "compiler/ScriptCompiler.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tavlix {

class OutputProbe;

// What every member shares: the script, its settings, and the constants as the first run had them.
struct FamilyScript {
    SettingsTexts settings;
    std::vector<std::string> lines;
    std::string caption;
    ListPicks picks;
    ConstantValues constantValues;
    std::string key;  // the family's list constant
    char decimalSeparator = '.';
    OutputProbe* probe = nullptr;  // hears the members one at a time
};

class FamilyMembers {
public:
    struct Member {
        int value = 0;  // the family constant's value, counted from 1
        std::unique_ptr<ScriptCompiler> compiler;
        std::unique_ptr<MemberRecording> recording;
        RunResult result;
        bool done = false;
    };

    // values: the members to run, in order. They start at once, beside the first run, on every core but the one
    // it takes; once it ends, on every core. A member that ends starts the next, so that a short member behind a
    // long one leaves no core idle. At most one recording more than there are cores waits to be handed over, which
    // bounds the memory they hold.
    FamilyMembers(FamilyScript script, const std::vector<int>& values);
    ~FamilyMembers();
    FamilyMembers(const FamilyMembers&) = delete;
    FamilyMembers& operator=(const FamilyMembers&) = delete;

    std::size_t size() const { return members_.size(); }
    // Where the first run counts its graph pages for the members.
    FamilyPageGate& firstRunPages() { return firstRunPages_; }
    // The first run ended well: its pages are all there are, and its core is free for members.
    void firstRunEnded();
    // Waits for member i, asking owner.keepGoing() now and then on this thread; false (and every member stopped)
    // when it refuses. Members only ever see the stop flag.
    bool waitFor(std::size_t i, EngineHost& owner);
    Member& member(std::size_t i) { return *members_[i]; }
    // Member i has been handed over: its recording goes and the next member may start.
    void release(std::size_t i);
    void stop();

private:
    // Both with mutex_ held.
    void start(std::size_t i);
    // Starts members in order while a core is free and not too many recordings wait.
    void startMore();
    void runMember(Member& member);

    FamilyScript script_;
    std::size_t workers_;
    std::size_t cores_;  // for members: one fewer while the first run goes on
    std::vector<std::unique_ptr<Member>> members_;
    std::vector<std::thread> threads_;
    std::size_t started_ = 0;
    std::size_t running_ = 0;
    std::size_t released_ = 0;
    FamilyPageGate firstRunPages_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable finished_;
};

}  // namespace tavlix
