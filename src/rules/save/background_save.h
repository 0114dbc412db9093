// A save pair written on a thread of its own while the game goes on: the game
// composes it (ComposeSavePair), the writer puts it on disk, the game settles it.
#pragma once

#include <atomic>
#include <optional>
#include <thread>

#include "rules/save/savefile.h"

namespace tarvex {

class BackgroundPairWriter {
public:
    BackgroundPairWriter() = default;
    // Waits for a write still running: the pair on disk is whole when the game ends.
    ~BackgroundPairWriter();
    // A copy of a game has no write of its own running.
    BackgroundPairWriter(const BackgroundPairWriter&) {}
    BackgroundPairWriter& operator=(const BackgroundPairWriter&) { return *this; }

    // Starts writing `job`; a write still running is waited for first.
    void Start(SavePairJob job, const WriteHooks& hooks = {});
    bool Running() const { return thread_.joinable(); }
    // The write has ended and waits to be taken.
    bool Done() const { return thread_.joinable() && done_.load(std::memory_order_acquire); }
    // Waits for the write to end and hands back the job and what became of it;
    // nothing when none ran. `hurry`: a wait for another program's hold on the save
    // is given up at once (the game is ending; nothing has been written yet then).
    struct Finished {
        SavePairJob job;
        SavePairOutcome outcome;
    };
    std::optional<Finished> Finish(bool hurry = false);

private:
    std::thread thread_;
    std::atomic<bool> done_{false};
    std::atomic<bool> hurry_{false};
    SavePairJob job_;
    SavePairOutcome outcome_;
};

}  // namespace tarvex
