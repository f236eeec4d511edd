#pragma once
// Helpers of the engine tests: engines with tables set directly (no database), input rows in a
// fresh working database, and dumps of the pattern tables.
#include "engine/Engine.h"
#include "engine/HeadlessHost.h"

#include <QString>
#include <memory>
#include <vector>

class DbFixture;

struct StockInput {
    int length, width, count;
    int32_t colour = 0xC0C0C0;
};
struct PartInput {
    int length, width, count;
    bool rotate = false;
    int32_t colour = 0x80FF80;
};

// An engine holding the given tables in cells (Unit 1 unless given), the queues as the loading
// builds them (parts in 部材番号 order) and the settings.
void SetTables(Engine& e, const std::vector<StockInput>& stock, const std::vector<PartInput>& parts, int kerf = 0,
               int unit = 1);

// Writes the rows into 母材 and 部材 of the connected working database (numbers 1..n).
void WriteInput(const std::vector<StockInput>& stock, const std::vector<PartInput>& parts);

// The rows of a table as text, one line per row in rowid order (values as SQLite quotes them).
QString DumpTable(const QString& table);
int CountRows(const QString& table, const QString& where = QString());

// An engine on a fresh working database with headless host and progress.
struct EngineOnDb {
    explicit EngineOnDb(const std::vector<StockInput>& stock, const std::vector<PartInput>& parts, int kerf = 0);
    ~EngineOnDb();
    std::unique_ptr<DbFixture> db;
    std::unique_ptr<HeadlessHost> host;
    HeadlessProgress progress;
    Engine engine;
    // BeforeCompute and Compute without the validation.
    bool Run();
};
