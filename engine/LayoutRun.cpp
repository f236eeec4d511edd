// One layout: every piece of the current order and rotation state placed first-fit, sheet after
// sheet, and every sheet measured when it closes. After every queue entry the cancel flag is read
// and a cancel request answered; window events run there when the pump interval is over.
#include "engine/Engine.h"
#include "engine/PatternStore.h"
#include "engine/VbMath.h"
#include "platform/core/MsgBox.h"

#include <cmath>
#include <utility>

int32_t SheetArea(int32_t cells, double rate, int16_t unit)
{
    return CLngOf(double(cells) * rate / 100.0 * std::pow(double(unit), 2.0));
}

bool Engine::continueAfterPiece()
{
    if (pumpPacer_.due()) {
        progress().pumpEvents();
        pumpPacer_.pumped();
    }
    if (!progress().cancel())
        return true;
    // What is stored so far is committed before the user is asked.
    if (activeStore_)
        activeStore_->Flush();
    const int answer = MsgBox(QStringLiteral("ここまでの計算結果を表示しますか?\r\n\r\n"
                                             "計算を再開する場合はキャンセルボタンをクリックして下さい。"),
                              vbYesNoCancel | vbQuestion, QStringLiteral("計算中止"));
    if (answer == vbYes) {
        ClearPatternResults(false);
        return false;
    }
    if (answer == vbNo) {
        ClearPatternResults(true);
        return false;
    }
    progress().setCancel(false);
    return true;
}

bool Engine::LayoutRun(std::vector<PiecePlacement>& placements, std::vector<SheetResult>& sheets)
{
    for (size_t p = 1; p < PartTbl.size(); ++p)
        PartTbl[p].CutCount = 0;
    for (size_t s = 1; s < StockTbl.size(); ++s)
        StockTbl[s].UsedCount = 0;
    placements.assign(size_t(PiecePartTotal) + 1, PiecePlacement());
    sheets.assign(1, SheetResult());
    failedOnSheet_.assign(PartTbl.size(), 0);
    int32_t placedCount = 0;
    progress().updateProgress2(0);

    const int rotationMode = Settings.RotationMode;
    const size_t lastSlot = StockQueue.size() - 1;   // StockPieceTotal + 1
    size_t q = 0;
    int16_t seq = 0;
    bool sheetGotPiece = false;
    for (;;) {
        ++q;
        ++seq;
        int16_t cachedPart = 0;
        bool cachedTurn = false;
        if (q <= lastSlot) {
            if (StockQueue[q] == 0)
                return true;                        // no sheet left
        } else {
            if (!sheetGotPiece)
                return true;                        // the unlimited kind took nothing more
            q = size_t(StockPieceTotal) + 1;
        }
        const int16_t s = StockQueue[q];
        const StockRec& sheet = StockTbl[size_t(s)];
        NewSheet(s);
        bool allFit = true;
        sheetGotPiece = false;

        for (int32_t i = 1; i <= PiecePartTotal; ++i) {
            const int16_t p = PieceQueue[size_t(i)];
            PiecePlacement& placement = placements[size_t(i)];
            if (placement.母材番号 == 0 && failedOnSheet_[size_t(p)] != seq) {
                PartRec& part = PartTbl[size_t(p)];
                int16_t across = part.幅, along = part.長さ;
                if (PieceRotated[size_t(i)] && sheet.幅 >= part.長さ && sheet.長さ >= part.幅)
                    std::swap(across, along);
                if (rotationMode == 1 && part.TryRotate) {
                    if (p != cachedPart) {
                        cachedTurn = false;
                        cachedPart = p;
                    }
                    if (!cachedTurn)
                        cachedTurn = PutTavoSimulation(across, along, p, KerfWidth, s);
                    if (cachedTurn)
                        std::swap(across, along);
                }
                int16_t x = 0, y = 0;
                bool placed = PutTavo(across, along, x, y, p, KerfWidth, s);
                if (!placed && (rotationMode == 0 || rotationMode == 1) && part.Rotatable) {
                    std::swap(across, along);
                    placed = PutTavo(across, along, x, y, p, KerfWidth, s);
                }
                if (!placed && rotationMode >= 0 && rotationMode <= 2) {
                    allFit = false;
                    failedOnSheet_[size_t(p)] = seq;
                }
                if (placed) {
                    placement = {seq,
                                 p,
                                 s,
                                 int16_t(sheet.UsedCount + 1),
                                 int16_t(x - 1),
                                 int16_t(y - 1),
                                 int16_t(x + along - 1),
                                 int16_t(y + across - 1)};
                    part.CutCount = int16_t(part.CutCount + 1);
                    PutTavoKiriHaba(along, across, x, y, KerfWidth, s);
                    progress().updateProgress2(++placedCount);
                    sheetGotPiece = true;
                }
            }
            if (!continueAfterPiece())
                return false;
        }

        // Close the sheet and measure it.
        StockRec& closed = StockTbl[size_t(s)];
        closed.UsedCount = int16_t(closed.UsedCount + 1);
        const int ux = Grid.UX(), uy = Grid.UY();
        const LayoutSheet::Measures m = Grid.Measure();
        const int32_t cells = ux * uy;
        auto area = [&](double rate) { return SheetArea(cells, rate, Unit); };
        auto share = [&](int32_t count) { return double(count) / double(cells) * 100.0; };
        SheetResult r;
        r.連番 = seq;
        r.母材番号 = s;
        r.枝番 = closed.UsedCount;
        r.使用率 = Settings.CutPosition == 0   ? double(m.maxX) / double(ux) * 100.0
                   : Settings.CutPosition == 1 ? double(m.maxY) / double(uy) * 100.0
                                               : 0.0;
        r.使用面積 = area(r.使用率);
        r.余材率 = 100 - r.使用率;
        r.余材面積 = area(r.余材率);
        r.切代率 = 100 - share(cells - m.kerf);
        r.切代面積 = area(r.切代率);
        r.端材率 = 100 - share(m.occupied) - r.余材率;
        r.端材面積 = area(r.端材率);
        r.平方数 = (Settings.SortKeyFlags & 1) ? Grid.CountFragments() : 0;
        if (r.平方数 == 0)
            r.平方数 = 1;
        r.最大平方 = 0;
        sheets.resize(size_t(seq) + 1);
        sheets[size_t(seq)] = r;
        if (allFit)
            return true;
    }
}
