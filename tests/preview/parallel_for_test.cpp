// The sheet's pictures are drawn on several threads: each must be drawn
// exactly once, and a failure in one must reach the caller.

#include <atomic>
#include <new>
#include <vector>

#include <gtest/gtest.h>

#include "preview/parallel_for.h"

namespace {

TEST(ParallelFor, EachIndexOnceAndFailuresReachTheCaller) {
    for (unsigned threads : {1u, 2u, 7u}) {
        for (std::size_t count : {0u, 1u, 100u}) {
            std::vector<std::atomic<int>> calls(count);
            vx::parallelFor(count, [&](std::size_t i) { ++calls[i]; }, threads);
            for (std::size_t i = 0; i < count; ++i) EXPECT_EQ(calls[i], 1) << threads << " threads, index " << i;
        }
        std::atomic<int> done{0};
        EXPECT_THROW(vx::parallelFor(
                         50,
                         [&](std::size_t i) {
                             if (i == 3) throw std::bad_alloc();
                             ++done;
                         },
                         threads),
                     std::bad_alloc);
        EXPECT_LT(done, 50);
    }
}

}  // namespace
