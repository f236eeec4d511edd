// The search: one layout per combination of piece order and rotation state, each stored as a
// numbered pattern; the rotation odometers step fastest, then the piece order.
#include "engine/Engine.h"
#include "engine/PatternStore.h"
#include "engine/PieceOrder.h"
#include "engine/VbMath.h"
#include "foundation/ErrLog.h"

#include <algorithm>

namespace {
// Sheets are addressed by 連番, which also counts a sheet that received nothing: the pattern
// list needs the 連番 of the last used sheet, not the number of used sheets.
int16_t lastUsedSheet(const std::vector<SheetResult>& sheets)
{
    int16_t last = 0;
    for (size_t s = 1; s < sheets.size(); ++s)
        if (sheets[s].使用面積 != 0)
            last = std::max(last, sheets[s].連番);
    return last;
}
}

// How many steps of SQLite's machine pass between two looks at the event pump while the store ends.
constexpr int kStepsBetweenPumps = 10000;

bool Engine::CreatePatern()
{
    host().setMousePointer(11);
    std::unique_ptr<PatternStore> ownStore;
    PatternStore* store = &patternStore(ownStore);
    activeStore_ = store;
    stop_ = StopReason::Running;
    memo_.Start(UseSheetMemo, SheetMemoBytes);
    bool result = false;
    bool stopped = false;
    // The store's end builds the pattern tables' indexes over every row, a second or more on a
    // large run: the windows keep drawing meanwhile (the layouts are done, so Cancel asks nothing).
    auto endStore = [&] {
        WhileStatementsRun pump(kStepsBetweenPumps, [this] {
            if (pumpPacer_.due()) {
                progress().pumpEvents();
                pumpPacer_.pumped();
            }
        });
        store->End();
    };
    try {
        storeCall([&] { store->Begin(); });
        const std::vector<int16_t> firstOrder = PieceQueue;
        progress().updateProgress1(0);
        std::vector<PiecePlacement> placements;
        std::vector<SheetResult> sheets;
        for (;;) {
            if (!LayoutRun(placements, sheets)) {
                stopped = true;          // the interrupted layout is not stored
                result = true;
                break;
            }
            progress().updateProgress2(PiecePartTotal);
            ++PatternNo;
            progress().updateProgress1(PatternNo);
            storeCall([&] { store->Store(*this, placements, sheets); });
            const int16_t last = lastUsedSheet(sheets);
            if (last > ListSheetColumns)
                ListSheetColumns = std::min(last, Settings.DisplaySheets);

            int16_t r = Settings.RotationMode == kRotationPanelo ? ReRevolution2() : ReRevolution();
            if (Settings.RotationMode == kRotationPanelo && r == 1)
                r = ReRevolution();
            if (r == -1)
                break;
            if (r == 0)
                continue;
            // Every rotation state of this order was tried: the next order.
            if (Settings.CutOrder == kOrderGiven) {
                const PartLoad load = LoadPartOrder(true);
                if (load == PartLoad::Loaded)
                    continue;
                result = load == PartLoad::NoFurtherOrder;
                break;
            }
            // An order step that fails would repeat the same order for ever.
            if (!ReOrder(PieceQueue, Settings.CutOrder))
                break;
            if (std::equal(PieceQueue.begin() + 1, PieceQueue.end(), firstOrder.begin() + 1, firstOrder.end())) {
                result = true;
                break;
            }
        }
        storeCall(endStore);
    } catch (const std::exception& e) {
        SetErrLog(ErrorDescription(e), kEngineWindow, QStringLiteral("CreatePatern"));
        try {
            endStore();
        } catch (...) {
        }
        result = false;
    }
    activeStore_ = nullptr;
    memo_.End();
    if (!result)
        stop_ = stop_ == StopReason::StoreFailed ? StopReason::StoreFailed : StopReason::SearchFailed;
    else if (!stopped)
        stop_ = StopReason::Done;
    // After a stop the compute button puts the pointer back itself.
    if (!stopped)
        host().setMousePointer(0);
    return result;
}
