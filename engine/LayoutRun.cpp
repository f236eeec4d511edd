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

namespace {
// The rank rule. A piece is open on sheet seq when it was open as the sheet started: not placed
// yet, or placed on this sheet. Its rank is the number of open pieces before it in the queue; the
// memo key lists the open pieces and the memo keeps a sheet's placements by rank.
bool openOnSheet(const PiecePlacement& placement, int16_t seq)
{
    return placement.母材番号 == 0 || placement.連番 == seq;
}

// The piece at a queue position is laid turned: asked for, and the turned piece fits the sheet.
bool turnedOn(const StockRec& sheet, bool rotated, const PartRec& part)
{
    return rotated && sheet.幅 >= part.長さ && sheet.長さ >= part.幅;
}
}

// The state of one layout run that its steps share.
struct Engine::RunState {
    std::vector<PiecePlacement>& placements;
    std::vector<SheetResult>& sheets;
    int32_t placedCount = 0;
    int16_t seq = 0;                      // 連番 of the sheet being filled
    int16_t stock = 0;                    // its 母材番号
    bool sheetGotPiece = false;
    std::vector<SheetMemo::Placed> laid = {};   // the placements of a sheet being laid out, for the memo
};

bool Engine::LayoutRun(std::vector<PiecePlacement>& placements, std::vector<SheetResult>& sheets)
{
    for (size_t p = 1; p < PartTbl.size(); ++p)
        PartTbl[p].CutCount = 0;
    for (size_t s = 1; s < StockTbl.size(); ++s)
        StockTbl[s].UsedCount = 0;
    placements.assign(size_t(PiecePartTotal) + 1, PiecePlacement());
    sheets.assign(1, SheetResult());
    failedOnSheet_.assign(PartTbl.size(), 0);
    progress().updateProgress2(0);

    RunState run{placements, sheets};
    const size_t lastSlot = StockQueue.size() - 1;   // StockPieceTotal + 1
    size_t q = 0;
    for (;;) {
        ++q;
        ++run.seq;
        if (q <= lastSlot) {
            if (StockQueue[q] == 0)
                return true;                        // no sheet left
        } else {
            if (!run.sheetGotPiece)
                return true;                        // the unlimited kind took nothing more
            q = size_t(StockPieceTotal) + 1;
        }
        run.stock = StockQueue[q];
        run.sheetGotPiece = false;

        // A sheet that starts in a state the memo knows is taken from it.
        const SheetMemo::Sheet* known = nullptr;
        if (memo_.on()) {
            keySheetState(run);
            known = memo_.Find();
        }
        bool allFit = true;
        SheetResult r;
        if (known) {
            if (!replaySheet(run, *known))
                return false;
            allFit = known->allFit;
            r = known->result;
        } else {
            const int64_t testsBefore = cornerTests_;
            if (!layOutSheet(run, allFit))
                return false;
            r = measure();
            if (memo_.on())
                memo_.Keep(run.laid, r, allFit, cornerTests_ - testsBefore);
        }
        closeSheet(run, r);
        if (allFit)
            return true;
    }
}

void Engine::keySheetState(const RunState& run)
{
    const StockRec& sheet = StockTbl[size_t(run.stock)];
    memo_.ClearKey();
    memo_.AddToKey(run.stock);
    if (Settings.RotationMode == kRotationPanelo)
        for (size_t p = 1; p < PartTbl.size(); ++p)
            memo_.AddToKey(PartTbl[p].TryRotate);
    for (int32_t i = 1; i <= PiecePartTotal; ++i)
        if (openOnSheet(run.placements[size_t(i)], run.seq)) {
            const int16_t p = PieceQueue[size_t(i)];
            memo_.AddToKey(p * 2 + turnedOn(sheet, PieceRotated[size_t(i)], PartTbl[size_t(p)]));
        }
}

void Engine::placeOnSheet(RunState& run, int32_t i, const SheetMemo::Placed& at)
{
    const int16_t p = PieceQueue[size_t(i)];
    run.placements[size_t(i)] = {run.seq,
                                 p,
                                 run.stock,
                                 int16_t(StockTbl[size_t(run.stock)].UsedCount + 1),
                                 int16_t(at.x - 1),
                                 int16_t(at.y - 1),
                                 int16_t(at.x + at.along - 1),
                                 int16_t(at.y + at.across - 1)};
    PartTbl[size_t(p)].CutCount = int16_t(PartTbl[size_t(p)].CutCount + 1);
    progress().updateProgress2(++run.placedCount);
    run.sheetGotPiece = true;
}

bool Engine::replaySheet(RunState& run, const SheetMemo::Sheet& known)
{
    // The same calls as when the sheet was laid out, with the placements it had then.
    const SheetMemo::Placed* next = known.placed;
    const SheetMemo::Placed* end = next + known.placedCount;
    int32_t rank = 0;
    for (int32_t i = 1; i <= PiecePartTotal; ++i) {
        if (openOnSheet(run.placements[size_t(i)], run.seq)) {
            if (next != end && next->rank == rank) {
                placeOnSheet(run, i, *next);
                ++next;
            }
            ++rank;
        }
        if (!continueAfterPiece())
            return false;
    }
    return true;
}

bool Engine::layOutSheet(RunState& run, bool& allFit)
{
    const int16_t s = run.stock;
    const StockRec& sheet = StockTbl[size_t(s)];
    const int rotationMode = Settings.RotationMode;
    NewSheet(s);
    run.laid.clear();
    // The rotation simulation's answer, kept for the pieces of one part in a row.
    int16_t cachedPart = 0;
    bool cachedTurn = false;
    int32_t rank = 0;
    for (int32_t i = 1; i <= PiecePartTotal; ++i) {
        const int16_t p = PieceQueue[size_t(i)];
        const PiecePlacement& placement = run.placements[size_t(i)];
        if (placement.母材番号 == 0 && failedOnSheet_[size_t(p)] != run.seq) {
            PartRec& part = PartTbl[size_t(p)];
            int16_t across = part.幅, along = part.長さ;
            if (turnedOn(sheet, PieceRotated[size_t(i)], part))
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
            if (!placed && (rotationMode == kRotationSimple || rotationMode == kRotationPanelo) && part.Rotatable) {
                std::swap(across, along);
                placed = PutTavo(across, along, x, y, p, KerfWidth, s);
            }
            if (!placed && rotationMode >= kRotationSimple && rotationMode <= kRotationEveryPiece) {
                allFit = false;
                failedOnSheet_[size_t(p)] = run.seq;
            }
            if (placed) {
                run.laid.push_back({rank, x, y, along, across});
                placeOnSheet(run, i, run.laid.back());
                PutTavoKiriHaba(along, across, x, y, KerfWidth, s);
            }
        }
        if (openOnSheet(placement, run.seq))
            ++rank;
        if (!continueAfterPiece())
            return false;
    }
    return true;
}

void Engine::closeSheet(RunState& run, SheetResult r)
{
    StockRec& closed = StockTbl[size_t(run.stock)];
    closed.UsedCount = int16_t(closed.UsedCount + 1);
    r.連番 = run.seq;
    r.母材番号 = run.stock;
    r.枝番 = closed.UsedCount;
    run.sheets.resize(size_t(run.seq) + 1);
    run.sheets[size_t(run.seq)] = r;
}

SheetResult Engine::measure()
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
