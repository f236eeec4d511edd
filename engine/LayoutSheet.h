#pragma once
// The sheet a layout run is filling, kept as the rectangles placed on it: the pieces and the kerf
// rectangles (bands, and the frames around pieces). A cell inside a piece holds the piece's part
// number, else a cell inside a kerf rectangle holds 99, else 0 (a piece covers kerf cells, kerf never
// covers a piece).
//
// The placement tests ask the rectangles directly whether a row, a column or a rectangle of cells
// meets a piece or kerf, so placing a piece costs nothing per cell. The measures and the fragment
// count are taken on one grid compressed to the edges of the rectangles, which is exact because the
// cells are constant between edges; the sheet keeps that grid between measures.
#include <cstddef>
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

    // The cells x..x1 of row y and y..y1 of column x hold no piece and no kerf.
    bool crossFree(int x, int y, int x1, int y1) const;
    // No piece holds a cell of x..x1 by y..y1, of row y from x to xFar, or of column x from y to yFar
    // (xFar >= x1, yFar >= y1).
    bool clearOfPieces(int x, int y, int x1, int y1, int xFar, int yFar) const;
    bool overlapsPiece(int x0, int y0, int x1, int y1) const;

    // The cells x..x+along-1 by y..y+across-1 become part; they must hold no other piece.
    void PlacePiece(int x, int y, int along, int across, int16_t part);
    // The free cells of x0..x1 by y0..y1, clipped to the sheet, become kerf.
    void MarkKerf(int x0, int x1, int y0, int y1);
    // The free cells of the frame of width k around the piece placed at x, y (along by across)
    // become kerf, clipped to the sheet; its four bands and the piece make one rectangle.
    void MarkFrame(int x, int y, int along, int across, int k);

    int16_t at(int x, int y) const;       // the value of a cell

    struct Measures {
        int32_t occupied = 0;             // cells that are not 0
        int32_t kerf = 0;                 // cells that are 99
        int maxX = 0, maxY = 0;           // largest occupied x and y; 0 when empty
        int32_t fragments = 0;            // free areas (CountFragmentCells), when asked
    };
    // The measures of the sheet, with the fragment count when fragments is true.
    Measures Measure(bool fragments = false);

private:
    // The sheet compressed to the edges of its rectangles and to the extra edges given: block
    // (i, j), counted from 1, covers x from xs[i-1] to xs[i]-1 and y from ys[j-1] to ys[j]-1; its
    // value is the value of all its cells (0, 99, or 1 for a piece).
    struct Compressed {
        std::vector<int> xs, ys;
        std::vector<int16_t> cells;       // (nx + 1) by (ny + 1), index 0 of each axis unused
        int nx = 0, ny = 0;
        int16_t& at(int i, int j) { return cells[size_t(i) * size_t(ny + 1) + size_t(j)]; }
        // The number of blocks before the edge v, which must be an edge.
        static int blocksBefore(int v, const std::vector<int>& edges);
    };
    void compress(int extraX, int extraY);

    int ux_ = 0, uy_ = 0;
    std::vector<Piece> pieces_;
    std::vector<Rect> kerf_;              // clipped to the sheet, never empty
    Compressed compressed_;               // the grid of the last measure, kept for its memory
};
