#pragma once
// Where the search stores every completed layout, and every other write of the result tables. The
// SQLite store writes the working database's tables (パターンリスト, パターン, パターン母材,
// パターン部材); the memory store keeps the pattern rows in memory, the null store drops them (the
// benchmark runner's --store memory and null).
//
// Store writes one layout in three steps, in this order: its パターン部材 rows, its パターン母材 rows,
// its パターン row. A failing step is undone alone (steps done before it stay) and the failure
// is thrown to the search. Clear empties the result tables before a computation; Discard drops the
// patterns of a search the user stopped without keeping them.
#include "engine/PatternRows.h"
#include "platform/core/Database.h"

#include <QElapsedTimer>
#include <QStringList>
#include <array>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

class Engine;

class PatternStore {
public:
    // The result tables Clear empties, in its order: パターンリスト, パターン, パターン部材, パターン母材.
    static constexpr int kResultTables = 4;

    virtual ~PatternStore() = default;
    // Empties the result tables one after the other and calls cleared(n) after the n-th; what
    // fails is thrown and ends the clearing. A store without tables of its own reports each one.
    virtual void Clear(const std::function<void(int)>& cleared);
    // The patterns are discarded: パターンリスト and パターン emptied, each even when the other failed
    // (the first failure is thrown after both), the piece and sheet rows left as they are.
    virtual void Discard() {}
    virtual void Begin() {}                  // the search starts
    virtual void Store(const Engine& engine, const std::vector<PiecePlacement>& placements,
                       const std::vector<SheetResult>& sheets) = 0;
    virtual void Flush() {}                  // make what is stored so far durable
    virtual void End() {}                    // the search ended (flushes)
};

// Each step is a savepoint inside a batch transaction; the batch is committed at least every half
// second, on Flush (before the stop question), at the end, and after a failing step was undone.
// Begin drops the indexes of empty pattern tables; End builds every one that is missing (in the
// last batch), also one lost by an earlier search that was killed.
class SqlitePatternStore : public PatternStore {
public:
    ~SqlitePatternStore() override;
    void Clear(const std::function<void(int)>& cleared) override;
    void Discard() override;
    void Begin() override;
    void Store(const Engine& engine, const std::vector<PiecePlacement>& placements,
               const std::vector<SheetResult>& sheets) override;
    void Flush() override;
    void End() override;

private:
    void prepare();
    void openBatch();
    void restoreIndexes();
    // Piece rows go in statements of several rows each (kPieceRowsPerStatement in the .cpp):
    // the cost of a statement's step is paid per statement, not per row.
    std::array<Statement, 3> pieces_;
    Statement sheet_, pattern_;
    bool prepared_ = false;
    bool batchOpen_ = false;
    bool checkIndexes_ = false;   // Begin ran: End makes sure every index is there
    QElapsedTimer batchClock_;
    std::vector<PatternPieceRow> pieceRows_;
    std::vector<PatternSheetRow> sheetRows_;
};

// Builds the same rows and keeps them compactly: a piece row in 16-bit fields and without its kerf
// rows, which rows() rebuilds from it; each distinct signature once (equal layouts share it). It
// keeps no list rows; Clear drops every row, Discard the パターン rows.
class MemoryPatternStore : public PatternStore {
public:
    void Clear(const std::function<void(int)>& cleared) override;
    void Discard() override;
    void Store(const Engine& engine, const std::vector<PiecePlacement>& placements,
               const std::vector<SheetResult>& sheets) override;
    size_t size() const { return patterns_.size(); }
    struct Rows {
        std::vector<PatternPieceRow> pieces;
        std::vector<PatternSheetRow> sheets;
        PatternRow pattern;
        bool hasPattern = true;            // false: its パターン row was discarded
    };
    // The rows of the index-th pattern stored (from 0), as the SQLite store writes them.
    Rows rows(size_t index) const;

private:
    struct Piece {
        int16_t 連番, 部材番号, 母材番号, 枝番, 開始横, 開始縦, 終了横, 終了縦;
        int32_t 色;
    };
    struct Pattern {
        size_t firstPiece, firstSheet;
        int32_t kerf, kerfColor;
        PatternRow row;                    // without its signature
        const std::string* signature;
        bool discarded = false;            // the パターン row is gone, the other rows stay
    };
    std::unordered_set<std::string> signatures_;
    std::vector<Piece> pieces_;
    std::vector<PatternSheetRow> sheets_;
    std::vector<Pattern> patterns_;
    std::vector<PatternPieceRow> pieceRows_;
    std::vector<PatternSheetRow> sheetRows_;
};

// The indexes of the working database's pattern tables that a search killed, or failed on a full
// disk, while they were dropped left missing: whether there are any, and every one built again in
// a transaction of its own (nothing when none is missing). Both throw DbError; a failed build
// builds nothing.
bool PatternIndexesMissing();
void RestorePatternIndexes();

// Keeps nothing: Clear reports every table emptied, Discard has nothing to drop.
class NullPatternStore : public PatternStore {
public:
    void Store(const Engine&, const std::vector<PiecePlacement>&, const std::vector<SheetResult>&) override {}
};
