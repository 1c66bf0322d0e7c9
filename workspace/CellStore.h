// The cells of a table page in compact form: one arena of texts and one slot per cell.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

class CellStore {
public:
    int columnCount() const { return columns_; }
    int rowCount() const { return rows_; }
    // Keeps the texts of the cells that stay inside the new shape.
    void setColumnCount(int n);
    void setRowCount(int n);
    void setCell(int col, int row, std::string_view text);
    // Empty for a cell never written or outside the table.
    std::string_view cell(int col, int row) const;
    // Bytes held, for the memory budget of large tables.
    std::size_t bytesHeld() const;

private:
    // A slot holds the arena offset in its upper 40 bits and the length in its lower 24; 0 is an empty cell.
    static constexpr int LengthBits = 24;
    static constexpr std::uint64_t MaxLength = (std::uint64_t{1} << LengthBits) - 1;
    // Texts go into fixed chunks so that growing never copies what is stored.
    static constexpr std::size_t ChunkBytes = std::size_t{1} << 20;

    std::uint64_t store(std::string_view text);

    int columns_ = 0;
    int rows_ = 0;
    std::vector<std::uint64_t> slots_;
    std::vector<std::unique_ptr<char[]>> chunks_;
    std::vector<std::size_t> chunkSizes_;
    std::size_t used_ = 0;  // bytes used in the last chunk
};
