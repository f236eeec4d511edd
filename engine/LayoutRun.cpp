// One layout: every piece of the current order and rotation state placed first-fit, sheet after
// sheet, and every sheet measured when it closes; during a search a sheet that starts in a state
// laid out before comes from the sheet memo. After every queue entry the cancel flag is read and a
// cancel request answered, for sheets from the memo too; window events run there when the pump
// interval is over.
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
        storeCall([this] { activeStore_->Flush(); });
    const int answer = MsgBox(QStringLiteral("ここまでの計算結果を表示しますか?\r\n\r\n"
                                             "計算を再開する場合はキャンセルボタンをクリックして下さい。"),
                              vbYesNoCancel | vbQuestion, QStringLiteral("計算中止"));
    if (answer == vbYes) {
        stop_ = StopReason::StoppedKept;
        ClearPatternResults(false);
        return false;
    }
    if (answer == vbNo) {
        stop_ = StopReason::StoppedDiscarded;
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
    std::vector<SheetMemo::Placed> laid;
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
        auto turned = [&](size_t i, const PartRec& part) {
            return PieceRotated[i] && sheet.幅 >= part.長さ && sheet.長さ >= part.幅;
        };
        sheetGotPiece = false;
        auto place = [&](int32_t i, const SheetMemo::Placed& at) {
            const int16_t p = PieceQueue[size_t(i)];
            placements[size_t(i)] = {seq,
                                     p,
                                     s,
                                     int16_t(sheet.UsedCount + 1),
                                     int16_t(at.x - 1),
                                     int16_t(at.y - 1),
                                     int16_t(at.x + at.along - 1),
                                     int16_t(at.y + at.across - 1)};
            PartTbl[size_t(p)].CutCount = int16_t(PartTbl[size_t(p)].CutCount + 1);
            progress().updateProgress2(++placedCount);
            sheetGotPiece = true;
        };

        // A sheet that starts in a state the memo knows is taken from it.
        const SheetMemo::Sheet* known = nullptr;
        if (memo_.on()) {
            memo_.ClearKey();
            memo_.AddToKey(s);
            if (rotationMode == kRotationPanelo)
                for (size_t p = 1; p < PartTbl.size(); ++p)
                    memo_.AddToKey(PartTbl[p].TryRotate);
            for (int32_t i = 1; i <= PiecePartTotal; ++i)
                if (placements[size_t(i)].母材番号 == 0) {
                    const int16_t p = PieceQueue[size_t(i)];
                    memo_.AddToKey(p * 2 + turned(size_t(i), PartTbl[size_t(p)]));
                }
            known = memo_.Find();
        }
        bool allFit = true;
        SheetResult r;
        if (known) {
            // The same calls as when the sheet is laid out, with the placements it had then.
            const SheetMemo::Placed* next = known->placed;
            const SheetMemo::Placed* end = next + known->placedCount;
            int32_t rank = 0;
            for (int32_t i = 1; i <= PiecePartTotal; ++i) {
                PiecePlacement& placement = placements[size_t(i)];
                if (placement.母材番号 == 0) {
                    if (next != end && next->rank == rank) {
                        place(i, *next);
                        ++next;
                    }
                    ++rank;
                }
                if (!continueAfterPiece())
                    return false;
            }
            allFit = known->allFit;
            r = known->result;
        } else {
            NewSheet(s);
            laid.clear();
            const int64_t testsBefore = cornerTests_;
            int32_t rank = 0;
            for (int32_t i = 1; i <= PiecePartTotal; ++i) {
                const int16_t p = PieceQueue[size_t(i)];
                PiecePlacement& placement = placements[size_t(i)];
                if (placement.母材番号 == 0 && failedOnSheet_[size_t(p)] != seq) {
                    PartRec& part = PartTbl[size_t(p)];
                    int16_t across = part.幅, along = part.長さ;
                    if (turned(size_t(i), part))
                        std::swap(across, along);
                    if (rotationMode == kRotationPanelo && part.TryRotate) {
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
                    if (!placed && (rotationMode == kRotationSimple || rotationMode == kRotationPanelo) &&
                        part.Rotatable) {
                        std::swap(across, along);
                        placed = PutTavo(across, along, x, y, p, KerfWidth, s);
                    }
                    if (!placed && rotationMode >= kRotationSimple && rotationMode <= kRotationEveryPiece) {
                        allFit = false;
                        failedOnSheet_[size_t(p)] = seq;
                    }
                    if (placed) {
                        laid.push_back({rank, x, y, along, across});
                        place(i, laid.back());
                        PutTavoKiriHaba(along, across, x, y, KerfWidth, s);
                    }
                }
                if (placement.母材番号 == 0 || placement.連番 == seq)
                    ++rank;
                if (!continueAfterPiece())
                    return false;
            }
            r = measure();
            if (memo_.on())
                memo_.Keep(laid, r, allFit, cornerTests_ - testsBefore);
        }

        // Close the sheet.
        StockRec& closed = StockTbl[size_t(s)];
        closed.UsedCount = int16_t(closed.UsedCount + 1);
        r.連番 = seq;
        r.母材番号 = s;
        r.枝番 = closed.UsedCount;
        sheets.resize(size_t(seq) + 1);
        sheets[size_t(seq)] = r;
        if (allFit)
            return true;
    }
}

SheetResult Engine::measure() const
{
    const int ux = Grid.UX(), uy = Grid.UY();
    const LayoutSheet::Measures m = Grid.Measure((Settings.SortKeyFlags & kSortByFragments) != 0);
    const int32_t cells = ux * uy;
    auto area = [&](double rate) { return SheetArea(cells, rate, Unit); };
    auto share = [&](int32_t count) { return double(count) / double(cells) * 100.0; };
    SheetResult r;
    r.使用率 = Settings.CutPosition == kCutLeft  ? double(m.maxX) / double(ux) * 100.0
               : Settings.CutPosition == kCutTop ? double(m.maxY) / double(uy) * 100.0
                                                 : 0.0;
    r.使用面積 = area(r.使用率);
    r.余材率 = 100 - r.使用率;
    r.余材面積 = area(r.余材率);
    r.切代率 = 100 - share(cells - m.kerf);
    r.切代面積 = area(r.切代率);
    r.端材率 = 100 - share(m.occupied) - r.余材率;
    r.端材面積 = area(r.端材率);
    r.平方数 = m.fragments;
    if (r.平方数 == 0)
        r.平方数 = 1;
    r.最大平方 = 0;
    return r;
}
