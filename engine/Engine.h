#pragma once
// The cutting-layout engine: the stock and part tables, the queues of one computation, the sheet
// being filled and the memo of sheets laid out in a search, and the procedures of the compute road
// (validation, preparation, run count, search, layout run, placement, storage hand-over,
// odometers, clearing after a stop).
//
// The main window holds one Engine (gEngine()) and connects it to itself (EngineHost), to the
// progress window (EngineProgress) and, for a computation, to a pattern store; tests and the
// benchmark runner connect headless ones. Sizes are input units after loading and cells after
// GreatestCommonDivisor.
//
// The compute road. The main window's 計　算 (lbutCompute_Click, app/frmTavo.cpp) calls the three
// steps in this order and builds the pattern list when all three return true; bench/panelo2-run
// and tests/cases call the same three through RunScenario (Scenario.cpp). A step that returns
// false has shown its box (or only written the error log) and recorded why in stopReason()
// (StopReasonName names it):
//
//   CheckInputValue          InputValidation.cpp    the grids' values        false: InvalidInput, Overflow
//   BeforeCompute            ComputePipeline.cpp    settings in range        false: PreparationFailed
//     SetBozai, LoadParts,   InputTables.cpp        tables, queues, kerf
//     SetLineWidth
//     GreatestCommonDivisor  CellSize.cpp           the cell size, sizes in cells
//     InitPatern             InputTables.cpp        result tables emptied (PatternStore::Clear), also
//                                                   after a failure
//   Compute                  ComputePipeline.cpp
//     SearchPaternMax        RunCount.cpp           CombinationCount         false: Overflow
//     CreatePatern           Search.cpp             per combination of order and rotation:
//       LayoutRun            LayoutRun.cpp          sheet after sheet, each in these steps:
//         keySheetState      LayoutRun.cpp            the state the sheet starts in, the memo's key
//         replaySheet        LayoutRun.cpp            a state seen before: the sheet from the memo
//                                                     (SheetMemo.cpp), or
//         layOutSheet        LayoutRun.cpp            laid out piece by piece on Grid (LayoutSheet.cpp)
//           PutTavo...       Placement.cpp              first-fit on the candidate corners
//         measure            LayoutRun.cpp            measured (fragments: FragmentCount.cpp)
//         closeSheet         LayoutRun.cpp            recorded, its stock kind counted
//         continueAfterPiece LayoutRun.cpp          after every piece: events (PumpPacer), Cancel
//       Store                PatternStore.cpp       rows from PatternRows.cpp  false: StoreFailed
//       ReRevolution(2)      RotationOdometers.cpp  the next rotation state, after the last one
//       LoadPartOrder        InputTables.cpp        the next order (部材切取順序 0)
//       ReOrder              PieceOrder.cpp         or (1, 2); no further order: true, Done
//                                                   a failing step of these three: false, SearchFailed
//
// Every write of the result tables goes through the pattern store (PatternStore.h: Clear, Store,
// Discard), the connected one or the working database's.
// The list and the detail window read a stored sheet back as a scene (SheetScene.cpp), which
// drawing/ paints.
//
// Where a stop ends up. Cancel in the progress window: continueAfterPiece commits what is stored
// and asks "計算中止"; はい (StoppedKept) and いいえ (StoppedDiscarded) turn the list commands off
// (ClearResults.cpp; いいえ also has the store discard パターン and パターンリスト) and end the search
// without the layout under way; Compute returns true, so the window lists what is left. キャンセル
// goes on. A failing store step is undone alone, the patterns before it stay. An exception a step
// does not catch itself: error log, no box, false, Error.
#include "engine/EngineHost.h"
#include "engine/EngineProgress.h"
#include "engine/EngineTypes.h"
#include "engine/LayoutSheet.h"
#include "engine/SheetMemo.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

class PatternStore;

// Why the compute road ended, recorded beside the message box each end shows (Engine::stopReason()).
enum class StopReason {
    Running,            // a step of the road is under way, or succeeded with the next still to come
    Done,               // every combination laid out and stored
    InvalidInput,       // CheckInputValue refused a grid value (its "入力エラー" warning)
    Overflow,           // too many pieces or layout runs ("計算量オーバー")
    PreparationFailed,  // BeforeCompute failed ("計算前処理に失敗しました。")
    SearchFailed,       // a step of the search failed ("計算処理に失敗しました。")
    StoreFailed,        // the pattern store failed ("計算処理に失敗しました。")
    StoppedKept,        // the user stopped the search and kept the patterns stored so far
    StoppedDiscarded,   // the user stopped the search and discarded them
    Error,              // an error the step did not expect: in the error log, no box
};

// The name of a stop reason in the outcome of a scenario ("done", "invalid input", …).
QString StopReasonName(StopReason reason);

class Engine {
public:
    Engine();
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // --- connections ---
    void SetHost(EngineHost* host) { host_ = host; }
    void SetProgress(EngineProgress* progress);           // nullptr: no progress window
    void SetStore(PatternStore* store) { store_ = store; } // nullptr: the working database
    // How often a run lets window events run (kPumpInterval; 0: after every piece).
    void SetPumpInterval(std::chrono::milliseconds interval) { pumpPacer_.setInterval(interval); }

    // --- tables (indexed by 母材番号 and 部材番号 from 1; element 0 unused) ---
    std::vector<StockRec> StockTbl;
    std::vector<PartRec> PartTbl;
    int16_t StockTypeCount = 0;
    int32_t StockPieceTotal = 0;
    int16_t PartTypeCount = 0;
    int32_t PiecePartTotal = 0;
    int16_t Unit = 0;                 // input units per cell
    int16_t KerfWidth = 0;
    int32_t KerfColor = 0;

    // --- state of one computation ---
    std::vector<int16_t> StockQueue;  // 0, the 母材番号 of every sheet in order, closing 0
    std::vector<int16_t> PieceQueue;  // 0, the 部材番号 of every piece in the current order
    std::vector<bool> PieceRotated;   // per position of PieceQueue
    int32_t MaxStockLength = 0;
    int32_t MaxStockWidth = 0;
    int16_t PartOrderBit = 0;         // the part order loaded: kOrderByNumber ... kOrderByLength
    int32_t PatternNo = 0;            // the last pattern stored
    int16_t ListSheetColumns = 0;     // sheet columns of the pattern list
    int32_t CombinationCount = 0;     // layout runs of the search
    SystemSettings Settings;
    // A search takes a sheet that starts in a state seen before from its memo of laid-out sheets;
    // the layouts are the same either way.
    bool UseSheetMemo = true;
    size_t SheetMemoBytes = SheetMemo::kDefaultBytes;         // the most memory it holds
    int64_t SheetMemoHits() const { return memo_.hits(); }   // sheets the last search took from it

    // --- the sheet being filled ---
    LayoutSheet Grid;
    std::vector<int16_t> CandX, CandY;   // candidate corners (index 0 unused), ascending
    std::vector<int32_t> SlitX, SlitY;   // strip boundaries (index 0 unused), in creation order

    // --- input validation, loading and preparation ---
    bool CheckInputValue();
    bool SetBozai();
    bool LoadParts(bool next);
    enum class PartLoad { Loaded, NoFurtherOrder, Failed };
    PartLoad LoadPartOrder(bool next);   // LoadParts, telling "no further order" from a failure
    bool SetLineWidth();
    bool GreatestCommonDivisor();
    void InitPatern();
    bool BeforeCompute();
    bool Compute();
    bool SearchPaternMax();
    // Why the last of CheckInputValue, BeforeCompute and Compute ended (each starts at Running).
    StopReason stopReason() const { return stop_; }

    // --- search and layout ---
    bool CreatePatern();
    bool LayoutRun(std::vector<PiecePlacement>& placements, std::vector<SheetResult>& sheets);
    void NewSheet(int16_t stock);        // an empty sheet and fresh corner and strip lists
    bool PutTavo(int16_t across, int16_t along, int16_t& x, int16_t& y, int16_t part, int16_t kerf, int16_t stock);
    // The kerf frame around the piece that PutTavo placed at x, y.
    void PutTavoKiriHaba(int16_t along, int16_t across, int16_t x, int16_t y, int16_t kerf, int16_t stock);
    bool PutTavoSimulation(int16_t across, int16_t along, int16_t part, int16_t kerf, int16_t stock);
    int16_t ReRevolution();
    int16_t ReRevolution2();
    void ClearPatternResults(bool discard);

    // The main window's unloading erases the arrays.
    void Erase();

private:
    bool accepts(int x, int y, int across, int along, int kerf, int length, int width, bool stripTests) const;
    // The first candidate corner, in the order of 切取位置, that takes the piece.
    bool firstCorner(int across, int along, int kerf, int16_t stock, bool stripTests, int& x, int& y) const;
    // The steps of LayoutRun (LayoutRun.cpp), on the state of the run. The two that fill a sheet
    // return false when the user stopped the run.
    struct RunState;
    void keySheetState(const RunState& run);          // the memo key of the sheet starting
    bool replaySheet(RunState& run, const SheetMemo::Sheet& known);   // a sheet from the memo
    bool layOutSheet(RunState& run, bool& allFit);    // a sheet laid out piece by piece on Grid
    void placeOnSheet(RunState& run, int32_t i, const SheetMemo::Placed& at);   // queue entry i placed
    void closeSheet(RunState& run, SheetResult r);    // the sheet's record, its kind counted
    SheetResult measure();               // the measures of the closed sheet in Grid
    bool continueAfterPiece();           // event pump, cancel flag, stop question
    EngineHost& host();
    EngineProgress& progress() { return *progress_; }
    // The store every write of the result tables goes through: the search's, else the one
    // connected, else a store of the working database made into own.
    PatternStore& patternStore(std::unique_ptr<PatternStore>& own);
    // A call of the pattern store: what it throws ends the search as a store failure.
    template <class Call>
    void storeCall(Call&& call)
    {
        try {
            call();
        } catch (...) {
            stop_ = StopReason::StoreFailed;
            throw;
        }
    }

    EngineHost* host_ = nullptr;
    EngineProgress* progress_;
    PatternStore* store_ = nullptr;
    PatternStore* activeStore_ = nullptr;
    StopReason stop_ = StopReason::Running;
    // The failure list of a run ("sheet,part" keys): per part, the last sheet on which one of its
    // pieces failed.
    std::vector<int32_t> failedOnSheet_;
    PumpPacer pumpPacer_{kPumpInterval};
    SheetMemo memo_;                     // on only during a search
    mutable int64_t cornerTests_ = 0;    // corners tested, the work a memo hit saves
};

// The area of a rate of a sheet of the given cells in square input units: (cells x rate / 100) x
// unit², rounded half to even.
int32_t SheetArea(int32_t cells, double rate, int16_t unit);

// The program's engine (the main window's).
Engine& gEngine();

// Names of the error-log lines of the engine's procedures.
inline const QString kEngineWindow = QStringLiteral("frmTavo");
inline const QString kEngineModule = QStringLiteral("mdlTavo");

// The text of the critical message of an overflowing run count.
QString CalculationOverflowText();
inline const QString kCalculationOverflowTitle = QStringLiteral("計算量オーバー");
