// The save pair's writer thread.
#include "rules/save/background_save.h"

#include <chrono>
#include <utility>

namespace tarvex {

namespace {
// Another program holding the save (another game writing its own autosave there) is
// waited for this long at most; then the write fails and the game says so.
constexpr double kLongestLockWait = 10.0;
}  // namespace

BackgroundPairWriter::~BackgroundPairWriter() { Finish(true); }

void BackgroundPairWriter::Start(SavePairJob job, const WriteHooks& hooks) {
    Finish();
    job_ = std::move(job);
    outcome_ = {};
    done_.store(false, std::memory_order_relaxed);
    hurry_.store(false, std::memory_order_relaxed);
    thread_ = std::thread([this, hooks] {
        const LockWait wait = [this](double waited) {
            if (hurry_.load(std::memory_order_relaxed) || waited >= kLongestLockWait) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            return true;
        };
        outcome_ = WriteComposedPair(job_, wait, hooks);
        done_.store(true, std::memory_order_release);
    });
}

std::optional<BackgroundPairWriter::Finished> BackgroundPairWriter::Finish(bool hurry) {
    if (!thread_.joinable()) return std::nullopt;
    if (hurry) hurry_.store(true, std::memory_order_relaxed);
    thread_.join();
    Finished finished{std::move(job_), std::move(outcome_)};
    job_ = {};
    return finished;
}

}  // namespace tarvex
