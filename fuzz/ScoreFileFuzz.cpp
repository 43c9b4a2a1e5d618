// Any bytes as a score file: the reader must not fail, must take exactly the complete records
// the bytes hold, and what it took must write out as a table that reads back the same.
#include "scores/ScoreFile.h"

#include <cstdio>
#include <cstdlib>

using namespace scores;

namespace {

[[noreturn]] void fail(const char *what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    ScoreTable table;
    const ScoreFileRead read = ParseScoreFile(input, table);
    if (read.records != std::min<qsizetype>(TableSize, input.size() / RecordSize))
        fail("the records read are not the complete records of the bytes");
    if ((read.status == ReadStatus::Read) != read.problems.isEmpty())
        fail("a damaged read without a reason, or a reason without damage");

    const QByteArray written = EncodeScoreTable(table);
    if (written.size() != FileSize)
        fail("the written table is not 7680 bytes");
    ScoreTable again;
    if (ParseScoreFile(written, again).records != TableSize || !(again == table))
        fail("the written table reads back differently");
    if (EncodeScoreTable(again) != written)
        fail("writing is not stable");
    for (const ScoreRecord &record : table) {
        const int position = GetHighScorePosition(table, ScoreValue(record.Score).value_or(0));
        if (position < 0 || position > TableSize)
            fail("a position outside the table");
    }
    return 0;
}
