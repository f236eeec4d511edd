#pragma once
// Where the search stores every completed layout. The SQLite store writes the working database's
// pattern tables; the memory store keeps the rows in memory, the null store drops them (the
// benchmark runner's --store memory and null).
//
// Store writes one layout in three steps, in this order: its パターン部材 rows, its パターン母材 rows,
// its パターン row. A failing step is undone alone (steps done before it stay) and the failure
// is thrown to the search.
#include "engine/PatternRows.h"
#include "platform/core/Database.h"

#include <QElapsedTimer>
#include <QStringList>
#include <array>
#include <string>
#include <unordered_set>
#include <vector>

class Engine;

class PatternStore {
public:
    virtual ~PatternStore() = default;
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
// rows, which rows() rebuilds from it; each distinct signature once (equal layouts share it).
class MemoryPatternStore : public PatternStore {
public:
    void Store(const Engine& engine, const std::vector<PiecePlacement>& placements,
               const std::vector<SheetResult>& sheets) override;
    size_t size() const { return patterns_.size(); }
    struct Rows {
        std::vector<PatternPieceRow> pieces;
        std::vector<PatternSheetRow> sheets;
        PatternRow pattern;
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

class NullPatternStore : public PatternStore {
public:
    void Store(const Engine&, const std::vector<PiecePlacement>&, const std::vector<SheetResult>&) override {}
};
