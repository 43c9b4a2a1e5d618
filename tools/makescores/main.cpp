// Writes the score table shipped with the game: ten records, best first, each record three
// strings (score, pilot, date) in 256-byte slots of one length byte and up to 255 characters.
#include "platform/Bytes.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>

namespace {

constexpr std::size_t SlotSize = 256;
constexpr std::size_t RecordSize = 3 * SlotSize;

struct Entry {
    int score;
    std::string_view pilot;
};

// Placeholders beatable by a first game; the descending order is what the game expects.
constexpr std::array<Entry, 10> Entries{{
    {5000, "Nova Lancer"},
    {4500, "Star Warden"},
    {4000, "Comet Kid"},
    {3500, "Void Runner"},
    {3000, "Astro Ace"},
    {2500, "Nebula Nine"},
    {2000, "Ion Striker"},
    {1500, "Quasar Fox"},
    {1000, "Rocket Rook"},
    {500, "Cadet Zero"},
}};

constexpr std::string_view ShippedDate = "1/15/26";

static_assert([] {
    for (std::size_t i = 0; i < Entries.size(); ++i) {
        if (Entries[i].pilot.size() >= SlotSize ||
            (i > 0 && Entries[i - 1].score <= Entries[i].score)) {
            return false;
        }
    }
    return ShippedDate.size() < SlotSize;
}());

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output-file>\n", argv[0]);
        return 2;
    }

    platform::ByteWriter table(qsizetype(Entries.size() * RecordSize));
    for (const Entry &entry : Entries) {
        table.shortString(std::to_string(entry.score), SlotSize - 1);
        table.shortString(entry.pilot, SlotSize - 1);
        table.shortString(ShippedDate, SlotSize - 1);
    }

    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file.write(table.block().constData(), static_cast<std::streamsize>(table.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
