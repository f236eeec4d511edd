// The rows a layout is stored as: piece and kerf rows, sheet rows, the signature and the key.
#include "engine/Engine.h"
#include "engine/PatternRows.h"
#include "tests/engine/EngineTestSupport.h"

#include "foundation/cBase.h"

#include <bit>
#include <gtest/gtest.h>

namespace {

struct Layout {
    Layout(int kerf, std::vector<PiecePlacement> placed)
    {
        SetTables(e, {{100, 100, 1}}, {{5, 3, int(placed.size())}}, kerf);
        e.PartTbl[1].色値 = 0x123456;
        e.KerfColor = 0xFF;
        e.PatternNo = 7;
        placements.push_back(PiecePlacement());
        placements.insert(placements.end(), placed.begin(), placed.end());
    }
    std::vector<PatternPieceRow> rows()
    {
        std::vector<PatternPieceRow> r;
        PatternPieceRows(e, placements, r);
        return r;
    }
    Engine e;
    std::vector<PiecePlacement> placements;
};

PatternSheetRow sheet(int no, int usedArea, double used, int fragments = 1)
{
    PatternSheetRow r;
    r.連番 = no;
    r.使用面積 = usedArea;
    r.使用率 = used;
    r.平方数 = fragments;
    return r;
}

TEST(EnginePatternRowsTest, PieceAndKerfRows)
{
    Layout none(0, {{1, 1, 1, 1, 0, 0, 3, 2}});
    const auto r0 = none.rows();
    ASSERT_EQ(1u, r0.size());
    EXPECT_EQ(7, r0[0].パターン番号);
    EXPECT_EQ(0x123456, r0[0].色);
    EXPECT_EQ(std::string("1,1,0,0,3,2,"), PatternSignature(r0));

    Layout kerf(1, {{1, 1, 1, 1, 0, 0, 3, 2}});
    const auto r1 = kerf.rows();
    ASSERT_EQ(5u, r1.size());
    const int expected[4][4] = {{-1, -1, 0, 2}, {0, -1, 4, 0}, {3, 0, 4, 3}, {-1, 2, 3, 3}};
    for (int b = 0; b < 4; ++b) {
        const PatternPieceRow& k = r1[size_t(b) + 1];
        EXPECT_EQ((std::vector<int>{99, 1, 1, 1, 0xFF}), (std::vector<int>{k.部材番号, k.連番, k.母材番号, k.枝番, k.色}));
        EXPECT_EQ((std::vector<int>(expected[b], expected[b] + 4)), (std::vector<int>{k.開始横, k.開始縦, k.終了横, k.終了縦}));
    }
}

TEST(EnginePatternRowsTest, UnplacedPieces)
{
    for (int k : {0, 2}) {
        Layout l(k, {{1, 1, 1, 1, 0, 0, 3, 2}, PiecePlacement()});
        const auto rows = l.rows();
        const PatternPieceRow& u = rows[k ? 5 : 1];
        EXPECT_EQ(k ? 1 : 0, u.部材番号) << k;
        EXPECT_EQ((std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0x123456}),
                  (std::vector<int>{u.連番, u.母材番号, u.枝番, u.開始横, u.開始縦, u.終了横, u.終了縦, u.色}));
        const PatternRow p = PatternSummary(l.e, rows, {sheet(1, 100, 50)});
        EXPECT_EQ(1, p.部材切取数);
    }
}

TEST(EnginePatternRowsTest, SignatureOrder)
{
    // Sorted by 部材番号, 連番, 開始縦, 開始横: the piece lower on the sheet comes first only when
    // its 開始縦 is smaller, whatever its 開始横.
    Layout l(0, {{1, 1, 1, 1, 5, 0, 8, 2}, {1, 1, 1, 1, 0, 4, 3, 6}, {2, 1, 1, 1, 0, 0, 3, 2}});
    EXPECT_EQ(std::string("1,1,5,0,8,2,1,1,0,4,3,6,1,2,0,0,3,2,"), PatternSignature(l.rows()));
}

TEST(EnginePatternRowsTest, PriorityKey)
{
    const QString used = QStringLiteral(",使用材の少ない順"), holes = QStringLiteral(",欠片（穴）の少ない順");
    EXPECT_EQ(std::string("002,060.00,002,090.50,001,"), PriorityKey(used + holes, {sheet(1, 10, 60, 2), sheet(2, 10, 30.5, 1)}));
    EXPECT_EQ(std::string("002,"), PriorityKey(QString(), {sheet(1, 10, 60), sheet(2, 10, 30.5)}));
    // An unused sheet counts nowhere; unknown criteria add nothing; sums reach four digits.
    EXPECT_EQ(std::string("001,007,"), PriorityKey(holes + QStringLiteral(",何か"), {sheet(1, 0, 0, 3), sheet(2, 10, 5, 7)}));
    std::vector<PatternSheetRow> many;
    for (int i = 1; i <= 11; ++i)
        many.push_back(sheet(i, 10, 95));
    EXPECT_TRUE(PriorityKey(used, many).ends_with(",950.00,1045.00,"));
    // Kerf and offcut sums.
    PatternSheetRow a = sheet(1, 10, 50), b = sheet(2, 10, 50);
    a.切代率 = 1.25;
    b.切代率 = 2.5;
    a.端材率 = 10;
    b.端材率 = 0.125;
    EXPECT_EQ(std::string("002,001.25,010.00,003.75,010.13,"), PriorityKey(QStringLiteral(",切代の少ない順,端材の少ない順"), {a, b}));
}

TEST(EnginePatternRowsTest, SummaryRow)
{
    Layout l(0, std::vector<PiecePlacement>(100, {1, 1, 1, 1, 100, 100, 120, 120}));
    l.e.Settings.SortKeyList = QString();
    for (int i = 0; i < 100; ++i)
        l.placements[size_t(i) + 1].開始横 = int16_t(i);
    const auto rows = l.rows();
    std::vector<PatternSheetRow> sheets{sheet(1, 100, 62.5), sheet(2, 0, 0), sheet(3, 100, 20)};
    sheets[0].余材率 = 37.5;
    sheets[2].余材率 = 80;
    const PatternRow p = PatternSummary(l.e, rows, sheets);
    EXPECT_EQ(7, p.パターン番号);
    EXPECT_GT(p.パターン種別.size(), 255u);                 // the whole signature
    EXPECT_EQ(PatternSignature(rows), p.パターン種別);
    EXPECT_EQ("002,", p.優先順位);
    EXPECT_EQ(2, p.母材使用数);
    EXPECT_EQ(100, p.部材切取数);
    EXPECT_EQ(41.25, p.平均使用率);
    EXPECT_EQ(58.75, p.平均余材率);
    // The key is cut to 255 characters.
    l.e.Settings.SortKeyList = QStringLiteral(",使用材の少ない順");
    std::vector<PatternSheetRow> long_(40, sheet(1, 10, 1));
    EXPECT_EQ(255u, PatternSummary(l.e, rows, long_).優先順位.size());
    // No used sheet: the averages divide by zero.
    EXPECT_THROW(PatternSummary(l.e, rows, {sheet(1, 0, 0)}), std::exception);
}

TEST(EnginePatternRowsTest, RatesPassThroughTheirLiteral)
{
    EXPECT_EQ(QStringLiteral("0.1").toDouble(), SqlDouble(0.1));
    const double third = 100.0 / 3.0;
    EXPECT_EQ(33.3333333333333, SqlDouble(third));
    EXPECT_NE(third, SqlDouble(third));
    // Exactly what the literal DoubleText writes reads back as: rates of sheets of many sizes, and
    // magnitudes where the literal takes the exponent form or carries all 15 digits.
    std::vector<double> values{-0.0, 1e-5, 1.23456789012346e15, 9.99999999999999e22, 1e300, -45.5, 5e-324,
                               0.1 + 0.2, 100.0 - 1e-13};
    for (int cells : {1656200, 29999, 7, 31414773})
        for (int used = 1; used < 3000; used += 13)
            values.push_back(double(used) * 100.0 / double(cells));
    for (double v : values)
        EXPECT_EQ(std::bit_cast<uint64_t>(DoubleText(v).toDouble()), std::bit_cast<uint64_t>(SqlDouble(v))) << v;
}

}
