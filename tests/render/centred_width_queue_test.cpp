// The replay queue of centred widths: first in, first out, bounded, emptied when it runs out.
#include <gtest/gtest.h>

#include "render/centred_width_queue.h"

namespace notavera {
namespace {

TEST(CentredWidthQueue, GivesTheWidthsBackInTheirOrder) {
    CentredWidthQueue q;
    q.push(12);
    q.push(7);
    EXPECT_EQ(q.pop(), 12);
    q.push(30);
    EXPECT_EQ(q.pop(), 7);
    EXPECT_EQ(q.pop(), 30);
    EXPECT_FALSE(q.pop());
    EXPECT_EQ(q.size(), 0u);
}

TEST(CentredWidthQueue, HoldsAtMostItsCapacity) {
    CentredWidthQueue q;
    for (int i = 0; i < 2000; ++i) q.push(i);
    EXPECT_EQ(q.size(), CentredWidthQueue::Capacity);
    for (std::size_t i = 0; i < CentredWidthQueue::Capacity; ++i) EXPECT_EQ(q.pop(), static_cast<int>(i));
    EXPECT_FALSE(q.pop());
    // Once emptied it records again from the start.
    q.push(5);
    EXPECT_EQ(q.pop(), 5);
}

}  // namespace
}  // namespace notavera
