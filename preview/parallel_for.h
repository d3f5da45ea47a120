#pragma once
// The sheet's pictures are independent of one another: each view, and each
// articulation frame once the still part of the model is drawn. They are
// drawn side by side on the machine's cores.

#include <cstddef>
#include <functional>

namespace vx {

// Calls work(0) to work(count - 1), each once, spread over at most `threads`
// threads (0: one a core), the caller's among them; returns when all are
// done. What one call throws (out of memory) is thrown again here once the
// others have finished. Where no thread can be started, all run here.
// The threads parallelFor uses by default: one a core.
unsigned workerCount();

void parallelFor(std::size_t count, const std::function<void(std::size_t)>& work, unsigned threads = 0);

}  // namespace vx
