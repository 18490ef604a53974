#include <gtest/gtest.h>

#include "forms/win32/unique_handle.h"

namespace tessarune::forms::win32 {
namespace {

int closed[4];

void CountClose(int* handle) {
    ++*handle;
}

using Counted = UniqueHandle<int*, CountClose>;

TEST(UniqueHandle, ClosesExactlyOnceAndHandsOver) {
    for (int& c : closed) c = 0;
    {
        Counted a(&closed[0]);
        Counted b(std::move(a));  // moved: only b closes
        EXPECT_EQ(a.Get(), nullptr);
        Counted c(&closed[1]);
        c = std::move(b);  // c closes what it held before, then holds closed[0]
        EXPECT_EQ(closed[1], 1);
        c = std::move(c);  // self-move keeps the handle
        EXPECT_EQ(c.Get(), &closed[0]);

        Counted d(&closed[2]);
        EXPECT_EQ(d.Release(), &closed[2]);  // released: never closed
        EXPECT_FALSE(d);

        Counted e(&closed[3]);
        e.Reset();
        e.Reset();  // nothing held any more
    }
    EXPECT_EQ(closed[0], 1);
    EXPECT_EQ(closed[1], 1);
    EXPECT_EQ(closed[2], 0);
    EXPECT_EQ(closed[3], 1);
}

}  // namespace
}  // namespace tessarune::forms::win32
