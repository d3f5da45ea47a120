#pragma once
// Independent items worked on side by side, their results handed on in item
// order, so that what several threads produce still reads as one run would
// have produced it.

#include <cstddef>
#include <functional>

namespace vx {

// Runs work(0) .. work(count - 1) on `workers` threads (on this one when a
// single worker is asked for) and calls done(i) on this thread in index
// order, each as soon as item i and all before it have finished.
void runInOrder(std::size_t count, std::size_t workers, const std::function<void(std::size_t)>& work,
                const std::function<void(std::size_t)>& done);

// The number of threads the machine runs at once; 1 when it does not say.
std::size_t defaultJobs();

}  // namespace vx
