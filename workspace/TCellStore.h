// The cells of a table page in compact form: one arena of texts and one slot per cell.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

class TCellStore {
public:
    int ColCount() const { return Cols; }
    int RowCount() const { return Rows; }
    // Keeps the texts of the cells that stay inside the new shape.
    void SetColCount(int n);
    void SetRowCount(int n);
    void SetCell(int col, int row, std::string_view text);
    // Empty for a cell never written or outside the table.
    std::string_view Cell(int col, int row) const;
    // Bytes held, for the memory budget of large tables.
    std::size_t Footprint() const;

private:
    // A slot holds the arena offset in its upper 40 bits and the length in its lower 24; 0 is an empty cell.
    static constexpr int LengthBits = 24;
    static constexpr std::uint64_t MaxLength = (std::uint64_t{1} << LengthBits) - 1;
    // Texts go into fixed chunks so that growing never copies what is stored.
    static constexpr std::size_t ChunkBytes = std::size_t{1} << 20;

    std::uint64_t Store(std::string_view text);

    int Cols = 0;
    int Rows = 0;
    std::vector<std::uint64_t> Slots;
    std::vector<std::unique_ptr<char[]>> Chunks;
    std::vector<std::size_t> ChunkSizes;
    std::size_t Used = 0;  // bytes used in the last chunk
};
