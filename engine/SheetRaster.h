#pragma once
// The cell raster of one sheet: 16-bit cells indexed (x, y), x = 1..UX along the sheet's 長さ,
// y = 1..UY along its 幅 (index 0 of each axis exists and is unused). 0 is free, 99 kerf, any
// other value the part number of the piece on the cell.
//
// Cells are stored column by column (y contiguous). The buffer is reused from sheet to sheet:
// Reset clears only the columns written since the last reset. FillPiece and MarkKerf keep the
// counts the sheet's measures need (occupied and kerf cells, the largest occupied x and y), so
// closing a sheet needs no pass over the raster.
#include <cstddef>
#include <cstdint>
#include <vector>

class SheetRaster {
public:
    SheetRaster() = default;
    SheetRaster(int ux, int uy) { Reset(ux, uy); }

    void Reset(int ux, int uy);          // a fresh sheet of ux by uy cells, all free
    int UX() const { return ux_; }
    int UY() const { return uy_; }

    int16_t at(int x, int y) const { return cells_[size_t(x) * stride_ + y]; }
    const int16_t* column(int x) const { return cells_.data() + size_t(x) * stride_; }
    void set(int x, int y, int16_t value);   // a single cell; does not keep the counts

    // Sets the cells x..x+along-1 by y..y+across-1 to part. The cells must be free or kerf.
    void FillPiece(int x, int y, int along, int across, int16_t part);
    // Turns the free cells of x0..x1 by y0..y1, clipped to the sheet, into kerf.
    void MarkKerf(int x0, int x1, int y0, int y1);

    int32_t OccupiedCells() const { return occupied_; }   // cells that are not 0
    int32_t KerfCells() const { return kerf_; }           // cells that are 99
    int MaxOccupiedX() const { return maxX_; }            // 0 when nothing is occupied
    int MaxOccupiedY() const { return maxY_; }

    // Raw access for the fragment count, which labels the free cells of a closed sheet.
    int16_t* data() { return cells_.data(); }
    int stride() const { return stride_; }
    void touch(int x) { if (x > touched_) touched_ = x; }

private:
    std::vector<int16_t> cells_;
    int ux_ = 0, uy_ = 0, stride_ = 1;
    int touched_ = -1;                    // highest column written since the last reset
    int32_t occupied_ = 0, kerf_ = 0;
    int maxX_ = 0, maxY_ = 0;
};
