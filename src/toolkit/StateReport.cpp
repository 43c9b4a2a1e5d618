#include "toolkit/StateReport.h"

#include <QtGlobal>

#include <cstdio>

namespace toolkit {

void reportState(const char *state) {
    if (qEnvironmentVariableIntValue("GORBULAX_REPORT_STATE") != 1)
        return;
    std::fprintf(stderr, "gorbulax state: %s\n", state);
    std::fflush(stderr);
}

} // namespace toolkit
