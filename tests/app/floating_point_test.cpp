#include "app/floating_point.h"

#include <gtest/gtest.h>

#include <cmath>

#if defined(__i386__) || defined(__x86_64__)
#include <xmmintrin.h>

namespace tessarune::app {
namespace {

unsigned short X87ControlWord() {
    unsigned short word = 0;
    __asm__ __volatile__("fnstcw %0" : "=m"(word));
    return word;
}

void SetX87ControlWord(unsigned short word) {
    __asm__ __volatile__("fldcw %0" : : "m"(word));
}

TEST(ResetFloatingPoint, RestoresNearestRoundingAndMaskedExceptions) {
    // 53-bit x87 precision as some runtimes leave it; SSE rounding up, division by zero
    // unmasked and a stale overflow flag.
    SetX87ControlWord(0x027F);
    _mm_setcsr((0x1F80 & ~0x0200u) | 0x4000u | 0x0008u);

    ResetFloatingPoint();

    EXPECT_EQ(X87ControlWord(), 0x037F);
    EXPECT_EQ(_mm_getcsr(), 0x1F80u);
    volatile double zero = 0.0;
    volatile double one = 1.0;
    EXPECT_EQ(one / zero, INFINITY);
    EXPECT_TRUE(std::isnan(zero / zero));
    EXPECT_EQ(one / 3.0, 0x1.5555555555555p-2);  // to nearest, not up
}

}  // namespace
}  // namespace tessarune::app
#endif
