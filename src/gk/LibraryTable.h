#pragma once

// The table of a library in memory: entries of a fixed-size header each, and one data block
// per entry that the table owns. Each entry's data pointer (the member DataOf) refers into its
// block, or is null for an empty one; moving the table keeps every block where it is.

#include "gk/Error.h"
#include "platform/Bytes.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace gk {

template <typename Entry, const uint8_t *Entry::*DataOf> class LibraryTable {
public:
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    const Entry &operator[](std::size_t index) const { return entries_[index]; }
    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.end(); }

    void clear() {
        std::vector<Entry>().swap(entries_);
        std::vector<std::vector<uint8_t>>().swap(blocks_);
    }
    void reserve(std::size_t count) {
        entries_.reserve(count);
        blocks_.reserve(count);
    }
    // Room for the entries a count read from the input announces, but for no more than
    // RoomAhead of them: the count may lie, and the entries past that grow the table as they
    // arrive. std::bad_alloc when memory runs out.
    static constexpr std::int64_t RoomAhead = 4096;
    void reserveAhead(std::int64_t count) {
        reserve(std::size_t(std::clamp<std::int64_t>(count, 0, RoomAhead)));
    }
    // Takes the block over and points the entry at it.
    void push(Entry entry, std::vector<uint8_t> block) {
        blocks_.push_back(std::move(block));
        entry.*DataOf = blocks_.back().empty() ? nullptr : blocks_.back().data();
        entries_.push_back(entry);
    }

    // Reads `count` entries from `in`, each its header bytes (the entry's Header) and then a
    // block of the size `blockSize(entry)` answers; blockSize raises gk::Error for a size it
    // refuses. Running out of memory raises gk::Error with `tableFailure` for the table and
    // `blockFailure` for a block; a stream that runs short raises platform::ShortBlock.
    template <typename BlockSize>
    void readEntries(platform::DeviceReader &in, std::int64_t count, const char *tableFailure,
                     const char *blockFailure, BlockSize blockSize) {
        try {
            reserveAhead(count);
        } catch (const std::bad_alloc &) {
            throw Error(tableFailure);
        }
        for (std::int64_t i = 0; i < count; ++i) {
            Entry entry;
            in.read(entry.Header.data(), entry.Header.size());
            const std::size_t size = blockSize(std::as_const(entry));
            std::vector<uint8_t> block;
            try {
                block = in.block(size);
            } catch (const std::bad_alloc &) {
                throw Error(blockFailure);
            }
            push(entry, std::move(block));
        }
    }

    // A copy with blocks of its own, each entry passed through `adjust` on its way. Running out
    // of memory raises gk::Error with `tableFailure` for the table and `blockFailure` for a
    // block.
    template <typename Adjust = void (*)(Entry &)>
    LibraryTable copy(
        const std::string &tableFailure, const std::string &blockFailure,
        Adjust adjust = [](Entry &) {}) const {
        LibraryTable result;
        try {
            result.reserve(size());
        } catch (const std::bad_alloc &) {
            throw Error(tableFailure);
        }
        for (std::size_t i = 0; i < size(); ++i) {
            std::vector<uint8_t> block;
            try {
                block = blocks_[i];
            } catch (const std::bad_alloc &) {
                throw Error(blockFailure);
            }
            Entry entry = entries_[i];
            adjust(entry);
            result.push(entry, std::move(block));
        }
        return result;
    }

private:
    std::vector<Entry> entries_;
    std::vector<std::vector<uint8_t>> blocks_;
};

} // namespace gk
