#include "app/ordered_runner.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace vx {

void runInOrder(std::size_t count, std::size_t workers, const std::function<void(std::size_t)>& work,
                const std::function<void(std::size_t)>& done) {
    if (workers <= 1) {
        for (std::size_t i = 0; i < count; ++i) {
            work(i);
            done(i);
        }
        return;
    }
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<bool> finished(count, false);
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> threads;
    auto drain = [&] {
        for (std::size_t i; (i = next++) < count;) {
            work(i);
            std::lock_guard<std::mutex> lock(mutex);
            finished[i] = true;
            changed.notify_one();
        }
    };
    try {
        for (std::size_t w = 0; w < workers; ++w) threads.emplace_back(drain);
    } catch (const std::system_error&) {
        // No more threads to be had: those started do the work; with none, this one does.
        if (threads.empty()) return runInOrder(count, 1, work, done);
    }
    for (std::size_t i = 0; i < count; ++i) {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return finished[i]; });
        lock.unlock();
        done(i);
    }
    for (std::thread& t : threads) t.join();
}

std::size_t defaultJobs() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores > 0 ? cores : 1;
}

}  // namespace vx
