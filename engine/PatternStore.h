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
class SqlitePatternStore : public PatternStore {
public:
    ~SqlitePatternStore() override;
    void Begin() override;
    void Store(const Engine& engine, const std::vector<PiecePlacement>& placements,
               const std::vector<SheetResult>& sheets) override;
    void Flush() override;
    void End() override;

private:
    Statement piece_, sheet_, pattern_;
    bool prepared_ = false;
    bool batchOpen_ = false;
    QElapsedTimer batchClock_;
    std::vector<PatternPieceRow> pieceRows_;
    std::vector<PatternSheetRow> sheetRows_;
};

class MemoryPatternStore : public PatternStore {
public:
    void Store(const Engine& engine, const std::vector<PiecePlacement>& placements,
               const std::vector<SheetResult>& sheets) override;
    std::vector<PatternPieceRow> pieces;
    std::vector<PatternSheetRow> sheets;
    std::vector<PatternRow> patterns;
};

class NullPatternStore : public PatternStore {
public:
    void Store(const Engine&, const std::vector<PiecePlacement>&, const std::vector<SheetResult>&) override {}
};
