// Cell texts appended to chunked storage; rewriting a cell leaves its old text behind, which tables rarely do.
#include "workspace/CellStore.h"

#include <algorithm>
#include <cstring>

void CellStore::setColumnCount(int n)
{
    n = std::max(n, 0);
    if (n == columns_)
        return;
    std::vector<std::uint64_t> slots(static_cast<std::size_t>(n) * static_cast<std::size_t>(rows_), 0);
    int keep = std::min(n, columns_);
    for (int r = 0; r < rows_; ++r)
        for (int c = 0; c < keep; ++c)
            slots[static_cast<std::size_t>(r) * n + c] = slots_[static_cast<std::size_t>(r) * columns_ + c];
    slots_.swap(slots);
    columns_ = n;
}

void CellStore::setRowCount(int n)
{
    rows_ = std::max(n, 0);
    slots_.resize(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(columns_), 0);
}

std::uint64_t CellStore::store(std::string_view text)
{
    std::size_t len = std::min<std::size_t>(text.size(), MaxLength);
    if (len == 0)
        return 0;
    if (chunks_.empty() || used_ + len > chunkSizes_.back()) {
        std::size_t size = std::max(ChunkBytes, len);
        chunks_.emplace_back(new char[size]);
        chunkSizes_.push_back(size);
        used_ = 0;
    }
    // Offsets are global: the chunk index times the chunk size, plus the place inside it.
    std::uint64_t offset = (chunks_.size() - 1) * std::uint64_t{ChunkBytes} * 16 + used_;
    std::memcpy(chunks_.back().get() + used_, text.data(), len);
    used_ += len;
    return (offset << LengthBits) | len;
}

void CellStore::setCell(int col, int row, std::string_view text)
{
    if (col < 0 || row < 0 || col >= columns_ || row >= rows_)
        return;
    slots_[static_cast<std::size_t>(row) * columns_ + col] = store(text);
}

std::string_view CellStore::cell(int col, int row) const
{
    if (col < 0 || row < 0 || col >= columns_ || row >= rows_)
        return {};
    std::uint64_t slot = slots_[static_cast<std::size_t>(row) * columns_ + col];
    std::size_t len = slot & MaxLength;
    if (len == 0)
        return {};
    std::uint64_t offset = slot >> LengthBits;
    std::uint64_t stride = std::uint64_t{ChunkBytes} * 16;
    return {chunks_[offset / stride].get() + offset % stride, len};
}

std::size_t CellStore::bytesHeld() const
{
    std::size_t bytes = slots_.capacity() * sizeof(std::uint64_t);
    for (std::size_t s : chunkSizes_)
        bytes += s;
    return bytes;
}
