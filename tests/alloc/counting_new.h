// A count of heap allocations, made by replacing the global operator new
// of this test program. Only allocations between start() and stop() count.
// With ZELKAR_ALLOC_BACKTRACE=1 in the environment, each counted
// allocation prints the stack that made it (the first few only), which is
// how to find what allocated; frames without a name resolve with
// `addr2line -C -f -e zelkar_alloc_tests 0xOFFSET` (the +0x... in brackets).
#pragma once

#include <cstdint>

namespace zelkar::alloc {

void start();
// The allocations counted since start().
int64_t stop();

}  // namespace zelkar::alloc
