#include "preview/parallel_for.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace vx {

unsigned workerCount() { return std::max(1u, std::thread::hardware_concurrency()); }

void parallelFor(std::size_t count, const std::function<void(std::size_t)>& work, unsigned threads) {
    if (threads == 0) threads = workerCount();
    const std::size_t helpers = std::min<std::size_t>(threads, count) - (count > 0 ? 1 : 0);
    std::atomic<std::size_t> next{0};
    std::mutex failureLock;
    std::exception_ptr failure;
    const auto drain = [&] {
        for (std::size_t i; (i = next.fetch_add(1)) < count;) {
            try {
                work(i);
            } catch (...) {
                const std::lock_guard<std::mutex> hold(failureLock);
                if (!failure) failure = std::current_exception();
                next = count;  // the rest would be thrown away
            }
        }
    };
    std::vector<std::thread> pool;
    try {
        pool.reserve(helpers);
        for (std::size_t k = 0; k < helpers; ++k) pool.emplace_back(drain);
    } catch (const std::system_error&) {
        // Fewer threads than hoped for: those started and this one do it all.
    } catch (const std::bad_alloc&) {
    }
    drain();
    for (std::thread& t : pool) t.join();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace vx
