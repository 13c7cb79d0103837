#pragma once

#include <atomic>
#include <memory>

// A job's one stop request, in the shape of C++20's std::stop_source and std::stop_token: the source
// asks, and every token made from it sees the request from then on; a request is never withdrawn.
//
// Of our own rather than the standard's for one reason: a stop may come from a signal handler, which can
// only raise a lock-free flag. A source told of such a flag makes every look of its tokens look at it
// too, so the flag reaches the job at its very next defined point (a wait's wake, a pause's slice, a
// protocol step) without a thread that watches it; the first look that finds it raised turns it into
// the source's own request.
class StopToken
{
public:
    // A token that nothing stops: for a wait that must not be cut short.
    StopToken() = default;

    bool stopRequested() const
    {
        if (!state_)
            return false;
        if (state_->requested.load())
            return true;
        if (!state_->signalled || !state_->signalled->load())
            return false;
        state_->requested.store(true);
        return true;
    }

private:
    friend class StopSource;
    struct State
    {
        std::atomic_bool requested{false};
        const std::atomic_bool* signalled = nullptr;
    };
    explicit StopToken(std::shared_ptr<State> state) : state_(std::move(state)) {}

    std::shared_ptr<State> state_;
};

class StopSource
{
public:
    // `signalled` (may be null; it must outlive every token) is a flag that a signal handler raises: it
    // counts as a request of this source.
    explicit StopSource(const std::atomic_bool* signalled = nullptr)
        : state_(std::make_shared<StopToken::State>())
    {
        state_->signalled = signalled;
    }

    StopToken token() const { return StopToken(state_); }
    // From any thread.
    void requestStop() { state_->requested.store(true); }
    bool stopRequested() const { return token().stopRequested(); }

private:
    std::shared_ptr<StopToken::State> state_;
};
