#pragma once
// Ends the whole test program, saying what hung, when a step that must never
// block has not finished within its time. A hang then fails the one test at
// once instead of waiting for the test runner to kill everything.
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

class Watchdog {
public:
    explicit Watchdog(std::string what, std::chrono::seconds limit = std::chrono::seconds(20))
        : what_(std::move(what))
        , thread_([this, limit] {
            std::unique_lock<std::mutex> lock(mutex_);
            if (finished_.wait_for(lock, limit, [this] { return done_; }))
                return;
            std::fprintf(stderr, "FAIL: still blocked after %lld s: %s\n", static_cast<long long>(limit.count()),
                         what_.c_str());
            std::fflush(stderr);
            std::_Exit(124);
        })
    {
    }

    ~Watchdog()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            done_ = true;
        }
        finished_.notify_one();
        thread_.join();
    }

    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    std::string what_;
    std::mutex mutex_;
    std::condition_variable finished_;
    bool done_ = false;
    std::thread thread_; // last: starts once the rest is ready
};
