// Cell texts appended to chunked storage; rewriting a cell leaves its old text behind, which tables rarely do.
#include "workspace/TCellStore.h"

#include <algorithm>
#include <cstring>

void TCellStore::SetColCount(int n)
{
    n = std::max(n, 0);
    if (n == Cols)
        return;
    std::vector<std::uint64_t> slots(static_cast<std::size_t>(n) * static_cast<std::size_t>(Rows), 0);
    int keep = std::min(n, Cols);
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < keep; ++c)
            slots[static_cast<std::size_t>(r) * n + c] = Slots[static_cast<std::size_t>(r) * Cols + c];
    Slots.swap(slots);
    Cols = n;
}

void TCellStore::SetRowCount(int n)
{
    Rows = std::max(n, 0);
    Slots.resize(static_cast<std::size_t>(Rows) * static_cast<std::size_t>(Cols), 0);
}

std::uint64_t TCellStore::Store(std::string_view text)
{
    std::size_t len = std::min<std::size_t>(text.size(), MaxLength);
    if (len == 0)
        return 0;
    if (Chunks.empty() || Used + len > ChunkSizes.back()) {
        std::size_t size = std::max(ChunkBytes, len);
        Chunks.emplace_back(new char[size]);
        ChunkSizes.push_back(size);
        Used = 0;
    }
    // Offsets are global: the chunk index times the chunk size, plus the place inside it.
    std::uint64_t offset = (Chunks.size() - 1) * std::uint64_t{ChunkBytes} * 16 + Used;
    std::memcpy(Chunks.back().get() + Used, text.data(), len);
    Used += len;
    return (offset << LengthBits) | len;
}

void TCellStore::SetCell(int col, int row, std::string_view text)
{
    if (col < 0 || row < 0 || col >= Cols || row >= Rows)
        return;
    Slots[static_cast<std::size_t>(row) * Cols + col] = Store(text);
}

std::string_view TCellStore::Cell(int col, int row) const
{
    if (col < 0 || row < 0 || col >= Cols || row >= Rows)
        return {};
    std::uint64_t slot = Slots[static_cast<std::size_t>(row) * Cols + col];
    std::size_t len = slot & MaxLength;
    if (len == 0)
        return {};
    std::uint64_t offset = slot >> LengthBits;
    std::uint64_t stride = std::uint64_t{ChunkBytes} * 16;
    return {Chunks[offset / stride].get() + offset % stride, len};
}

std::size_t TCellStore::Footprint() const
{
    std::size_t bytes = Slots.capacity() * sizeof(std::uint64_t);
    for (std::size_t s : ChunkSizes)
        bytes += s;
    return bytes;
}
