// The thread a played service library calls its registered callback on, as
// the real libraries do: deliveries run on it while the caller goes on, and
// stop() ends and joins it, so that once the library's unregistering call
// returns no callback runs any more.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

class CallbackThread {
public:
    ~CallbackThread() { stop(); }

    // Calls deliver(data) `times` times in a row on a new thread (0: until
    // stopped), after ending any earlier one.
    void start(std::function<void(const std::string&)> deliver, std::string data, int times) {
        stop();
        stopping_ = false;
        thread_ = std::thread([this, deliver = std::move(deliver), data = std::move(data), times] {
            for (int i = 0; (times == 0 || i < times) && !stopping_; ++i)
                deliver(data);
        });
    }
    void stop() {
        stopping_ = true;
        if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
    }

private:
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};
