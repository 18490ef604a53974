#include "app/floating_point.h"

#if defined(__i386__) || defined(__x86_64__)
#include <xmmintrin.h>
#else
#include <cfenv>
#endif

namespace tessarune::app {

void ResetFloatingPoint() {
#if defined(__i386__) || defined(__x86_64__)
    // fninit gives the x87 control word 0x037F and clears its status; the SSE unit, which does
    // the double and float arithmetic, gets every exception masked and round to nearest.
    __asm__ __volatile__("fninit");
    _mm_setcsr(0x1F80);
#else
    std::feclearexcept(FE_ALL_EXCEPT);
    std::fesetround(FE_TONEAREST);
#endif
}

}  // namespace tessarune::app
