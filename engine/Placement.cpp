// Placing one piece first-fit on the candidate corners of the sheet being filled, the kerf frame
// around a placed piece, and the look-ahead of the rotation method 1 (Panelo方式).
#include "engine/Engine.h"
#include "engine/VbMath.h"
#include "foundation/ErrLog.h"

#include <algorithm>

namespace {
// Adds v to an ascending list (index 0 unused) unless it holds it already.
void addCorner(std::vector<int16_t>& list, int v)
{
    if (std::find(list.begin() + 1, list.end(), v) != list.end())
        return;
    list.insert(std::upper_bound(list.begin() + 1, list.end(), int16_t(v)), int16_t(v));
}
}

void Engine::NewSheet(int16_t stock)
{
    Grid.Reset(StockTbl[size_t(stock)].長さ, StockTbl[size_t(stock)].幅);
    CandX.assign({0, 1});
    CandY.assign({0, 1});
    SlitX.assign({0, 1});
    SlitY.assign({0, 1});
}

bool Engine::accepts(int x, int y, int across, int along, int k, int length, int width, bool stripTests) const
{
    if (across > width - y + 1 || along > length - x + 1)
        return false;
    const int x1 = x + along - 1, y1 = y + across - 1;
    // The first row and the first column of the piece are free.
    if (!Grid.crossFree(x, y, x1, y1))
        return false;
    if (stripTests) {
        // A piece with its kerf may not straddle a strip boundary.
        if (Settings.SlitMode == kSlitVertical)
            for (size_t i = 1; i < SlitX.size(); ++i)
                if (x < SlitX[i] && SlitX[i] < x + along + k)
                    return false;
        if (Settings.SlitMode == kSlitHorizontal)
            for (size_t i = 1; i < SlitY.size(); ++i)
                if (y < SlitY[i] && SlitY[i] < y + across + k)
                    return false;
    }
    // No cell of another piece inside the rectangle, nor in the kerf bands behind the far ends of
    // the first row and column (free or kerf there), where the sheet holds them.
    const int xFar = x1 + k <= length ? x1 + k : x1;
    const int yFar = y1 + k <= width ? y1 + k : y1;
    return Grid.clearOfPieces(x, y, x1, y1, xFar, yFar);
}

bool Engine::firstCorner(int across, int along, int kerf, int16_t stock, bool stripTests, int& x, int& y) const
{
    const int length = StockTbl[size_t(stock)].長さ, width = StockTbl[size_t(stock)].幅;
    const int pos = Settings.CutPosition;
    if (pos != kCutLeft && pos != kCutTop)
        return false;
    // 左詰め: x from CandX outer, y from CandY inner; 上詰め: y from CandX outer, x from CandY inner.
    for (size_t i = 1; i < CandX.size(); ++i) {
        for (size_t j = 1; j < CandY.size(); ++j) {
            x = pos == kCutLeft ? CandX[i] : CandY[j];
            y = pos == kCutLeft ? CandY[j] : CandX[i];
            ++cornerTests_;
            if (accepts(x, y, across, along, kerf, length, width, stripTests))
                return true;
        }
    }
    return false;
}

bool Engine::PutTavo(int16_t across, int16_t along, int16_t& xOut, int16_t& yOut, int16_t part, int16_t kerf,
                     int16_t stock)
{
    try {
        int x, y;
        if (!firstCorner(across, along, kerf, stock, true, x, y))
            return false;
        Grid.PlacePiece(x, y, along, across, part);
        xOut = int16_t(x);
        yOut = int16_t(y);
        const bool left = Settings.CutPosition == kCutLeft;
        std::vector<int16_t>& xs = left ? CandX : CandY;
        std::vector<int16_t>& ys = left ? CandY : CandX;
        if (x + along + kerf <= StockTbl[size_t(stock)].長さ)
            addCorner(xs, x + along + kerf);
        if (y + across + kerf <= StockTbl[size_t(stock)].幅)
            addCorner(ys, y + across + kerf);
        if (Settings.SlitMode == kSlitVertical && y == 1)
            SlitX.push_back(x + along + kerf);
        if (Settings.SlitMode == kSlitHorizontal && x == 1)
            SlitY.push_back(y + across + kerf);
        return true;
    } catch (const std::exception& e) {
        SetErrLog(ErrorDescription(e), kEngineWindow, QStringLiteral("PutTavo"));
        return false;
    }
}

void Engine::PutTavoKiriHaba(int16_t along, int16_t across, int16_t x, int16_t y, int16_t kerf, int16_t stock)
{
    // The frame of width k around the piece; free cells become kerf.
    Grid.MarkFrame(x, y, along, across, kerf);
}

bool Engine::PutTavoSimulation(int16_t across, int16_t along, int16_t part, int16_t kerf, int16_t stock)
{
    try {
        int x, y;
        if (!firstCorner(across, along, kerf, stock, false, x, y))
            return false;
        // The first corner that takes the piece: turn it when it stands on the start edge and the
        // pieces of the part still to place fit in one line across the sheet.
        const int rem = PartTbl[size_t(part)].数 - PartTbl[size_t(part)].CutCount;
        int per;
        if (Settings.CutPosition == kCutLeft) {
            if (y != 1)
                return false;
            per = StockTbl[size_t(stock)].幅 / across;
        } else {
            if (x != 1)
                return false;
            per = StockTbl[size_t(stock)].長さ / along;
        }
        int r = per == 0 ? 0 : rem - (rem / per) * per;
        if (r == 0)
            r = per;
        return rem <= r;
    } catch (const std::exception& e) {
        SetErrLog(ErrorDescription(e), kEngineWindow, QStringLiteral("PutTavoSimulation"));
        return false;
    }
}
