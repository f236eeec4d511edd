#pragma once
// The sheet a layout run is filling. Its cells follow from the pieces and kerf bands placed on it:
// a cell inside a piece holds the piece's part number, else a cell inside a kerf band holds 99,
// else 0 (a piece covers kerf cells, a kerf band never covers a piece).
//
// The raster behind it holds the borders of every piece (first and last row and column) and the
// kerf cells outside pieces; the inside of a piece reads free or kerf there. The placement tests
// read it only together with the test that a piece does not overlap a placed one, and that test
// rejects every candidate whose reads could reach the inside of a piece, so they decide as on the
// full raster. One byte per cell holds the sheet's generation and the cell's state, so a new sheet
// needs no clearing. The measures and the fragment count are taken on a grid compressed to the
// edges of the pieces and bands, which is exact because the cells are constant between edges.
// Placing a piece thus costs its perimeter, not its area.
#include "engine/SheetRaster.h"

#include <cstdint>
#include <vector>

class LayoutSheet {
public:
    struct Rect {
        int x0, y0, x1, y1;              // cells, inclusive
    };
    struct Piece {
        Rect r;
        int16_t part;
    };

    void Reset(int ux, int uy);           // a fresh sheet of ux by uy cells, all free
    int UX() const { return ux_; }
    int UY() const { return uy_; }

    // The raster (see above), for the placement tests.
    bool isFree(int x, int y) const { return state(cells_[size_t(x) * stride_ + size_t(y)]) == Free; }
    bool columnFree(int x, int y0, int y1) const;          // no cell of x by y0..y1 reads taken
    bool rowFree(int y, int x0, int x1) const;
    bool columnHasPiece(int x, int y0, int y1) const;      // a cell of x by y0..y1 reads a piece
    bool rowHasPiece(int y, int x0, int x1) const;
    bool overlapsPiece(int x0, int y0, int x1, int y1) const;

    // The cells x..x+along-1 by y..y+across-1 become part; they must hold no other piece.
    void PlacePiece(int x, int y, int along, int across, int16_t part);
    // The free cells of x0..x1 by y0..y1, clipped to the sheet, become kerf.
    void MarkKerf(int x0, int x1, int y0, int y1);

    int16_t at(int x, int y) const;       // the value of a cell
    SheetRaster Raster() const;           // every cell

    struct Measures {
        int32_t occupied = 0;             // cells that are not 0
        int32_t kerf = 0;                 // cells that are 99
        int maxX = 0, maxY = 0;           // largest occupied x and y; 0 when empty
    };
    Measures Measure() const;
    // The fragment count of the sheet (as CountFragments of its raster gives it).
    int32_t CountFragments() const;

    const std::vector<Piece>& pieces() const { return pieces_; }
    const std::vector<Rect>& bands() const { return bands_; }

private:
    enum State : uint8_t { Free = 0, PieceCell = 1, KerfCell = 2 };
    State state(uint8_t c) const { const uint8_t s = uint8_t(c ^ tag_); return s < 4 ? State(s) : Free; }
    std::vector<uint8_t> cells_;
    uint8_t tag_ = 0;                     // generation << 2; cells of other generations are free
    size_t stride_ = 1;
    int ux_ = 0, uy_ = 0;
    std::vector<Piece> pieces_;
    std::vector<Rect> bands_;             // clipped to the sheet, never empty
};
