// The pattern stores: every store keeps the same rows.
#include "engine/PatternStore.h"
#include "platform/core/Database.h"
#include "tests/engine/EngineTestSupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

// Writes what a memory store holds into the pattern tables of the connected working database,
// every value with the type the SQLite store binds.
void WriteRows(const MemoryPatternStore& memory)
{
    sqlite3* db = SharedConnection();
    sqlite3_stmt *piece = nullptr, *sheet = nullptr, *pattern = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO パターン部材 VALUES(?,?,?,?,?,?,?,?,?,?)", -1, &piece, nullptr);
    sqlite3_prepare_v2(db, "INSERT INTO パターン母材 VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?)", -1, &sheet, nullptr);
    sqlite3_prepare_v2(db, "INSERT INTO パターン VALUES(?,?,?,?,?,?,?,?,?)", -1, &pattern, nullptr);
    auto run = [](sqlite3_stmt* st) {
        EXPECT_EQ(SQLITE_DONE, sqlite3_step(st));
        sqlite3_reset(st);
    };
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (size_t i = 0; i < memory.size(); ++i) {
        const MemoryPatternStore::Rows rows = memory.rows(i);
        for (const PatternPieceRow& r : rows.pieces) {
            int c = 1;
            for (int v : {r.パターン番号, r.連番, r.部材番号, r.母材番号, r.枝番, r.開始横, r.開始縦, r.終了横, r.終了縦, r.色})
                sqlite3_bind_int(piece, c++, v);
            run(piece);
        }
        for (const PatternSheetRow& r : rows.sheets) {
            int c = 1;
            for (int v : {r.パターン番号, r.連番, r.母材番号, r.枝番, r.最大平方, r.平方数, r.使用面積})
                sqlite3_bind_int(sheet, c++, v);
            sqlite3_bind_double(sheet, c++, r.使用率);
            sqlite3_bind_int(sheet, c++, r.切代面積);
            sqlite3_bind_double(sheet, c++, r.切代率);
            sqlite3_bind_int(sheet, c++, r.端材面積);
            sqlite3_bind_double(sheet, c++, r.端材率);
            sqlite3_bind_int(sheet, c++, r.余材面積);
            sqlite3_bind_double(sheet, c++, r.余材率);
            run(sheet);
        }
        const PatternRow& p = rows.pattern;
        sqlite3_bind_int(pattern, 1, p.パターン番号);
        sqlite3_bind_text(pattern, 2, p.パターン種別.data(), int(p.パターン種別.size()), SQLITE_STATIC);
        sqlite3_bind_text(pattern, 3, p.優先順位.data(), int(p.優先順位.size()), SQLITE_STATIC);
        sqlite3_bind_int(pattern, 4, p.母材使用数);
        sqlite3_bind_int(pattern, 5, p.部材切取数);
        int c = 6;
        for (double v : {p.平均使用率, p.平均切代率, p.平均端材率, p.平均余材率})
            sqlite3_bind_double(pattern, c++, v);
        run(pattern);
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    for (sqlite3_stmt* st : {piece, sheet, pattern})
        sqlite3_finalize(st);
}

struct Job {
    const char* name;
    std::vector<StockInput> stock;
    std::vector<PartInput> parts;
    int kerf;
    int16_t cutOrder, rotationMode;
    const char* sortKeys;
};

const QString kAllCriteria = QStringLiteral(",使用材の少ない順,欠片（穴）の少ない順,切代の少ない順,端材の少ない順");

TEST(EnginePatternStoreTest, EveryStoreKeepsTheSameRows)
{
    const Job jobs[] = {
        {"kerf, every order", {{20, 20, 3}}, {{8, 5, 2, true}, {6, 4, 2, true}}, 1, 1, 0, ",使用材の少ない順,切代の少ない順"},
        {"no kerf, a piece left over", {{20, 20, 1}}, {{15, 15, 2}, {5, 4, 1, true}}, 0, 2, 0, ",端材の少ない順"},
        {"an empty second sheet", {{10, 10, 2}, {30, 30, 0}}, {{8, 8, 1}, {20, 12, 2, true}}, 2, 2, 1, ""},
        {"unlimited sheets, all rotations", {{25, 15, 0}}, {{12, 7, 3, true}, {9, 9, 1}, {6, 3, 2, true}}, 1, 0, 2, ""},
    };
    for (const Job& j : jobs) {
        QStringList expected;
        {
            EngineOnDb t(j.stock, j.parts, j.kerf);
            t.engine.Settings.CutOrder = j.cutOrder;
            t.engine.Settings.CutOrderDetail = 15;
            t.engine.Settings.RotationMode = j.rotationMode;
            t.engine.Settings.SortKeyList = *j.sortKeys ? QString::fromUtf8(j.sortKeys) : kAllCriteria;
            ASSERT_TRUE(t.Run()) << j.name;
            ASSERT_GT(t.engine.PatternNo, 1) << j.name;
            expected = PatternTableDigests(SharedConnection());

        }
        EngineOnDb t(j.stock, j.parts, j.kerf);
        t.engine.Settings.CutOrder = j.cutOrder;
        t.engine.Settings.CutOrderDetail = 15;
        t.engine.Settings.RotationMode = j.rotationMode;
        t.engine.Settings.SortKeyList = *j.sortKeys ? QString::fromUtf8(j.sortKeys) : kAllCriteria;
        MemoryPatternStore memory;
        t.engine.SetStore(&memory);
        ASSERT_TRUE(t.Run()) << j.name;
        ASSERT_EQ(0, CountRows(QStringLiteral("パターン部材"))) << j.name;
        WriteRows(memory);

        EXPECT_EQ(expected.join(u' ').toStdString(), PatternTableDigests(SharedConnection()).join(u' ').toStdString()) << j.name;
    }
}

}
