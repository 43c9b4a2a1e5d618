#pragma once

// The states an end-to-end test waits for ("game over", "results shown", ...), told as they
// are reached, so that the test need not catch a passing picture. Silent unless the
// environment holds GORBULAX_REPORT_STATE=1; then one line "gorbulax state: <state>" on
// standard error for each.

namespace toolkit {

void reportState(const char *state);

} // namespace toolkit
