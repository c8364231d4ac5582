// The helper thread: every part of every round done exactly once, rounds
// following each other quickly so that a late helper meets the next round.
#include "core/HelperThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

TEST(HelperThread, EveryPartOfEveryRoundIsDoneOnce) {
    HelperThread helper;
    std::vector<std::atomic<int>> counts(64);
    for (uint32_t round = 0; round < 20000; ++round) {
        const uint32_t parts = round % 5 == 0 ? 1 : round % 64 + 1;
        for (auto& c : counts)
            c = 0;
        helper.run(parts, [&](uint32_t i) { counts[i].fetch_add(1); });
        for (uint32_t i = 0; i < counts.size(); ++i)
            ASSERT_EQ(counts[i], i < parts ? 1 : 0) << "round " << round << ", part " << i;
    }
}
