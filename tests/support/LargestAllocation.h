#pragma once

// The largest single allocation since the last reset, so that a test can tell that a lying
// count or size in the input did not turn into a huge allocation. A test program that uses it
// links tests/support/LargestAllocation.cpp, which replaces the global operator new.

#include <cstddef>

std::size_t LargestAllocation();
void ResetLargestAllocation();
