// The groups the list reads of パターン (ReadPatternGroups) against those of the grouping query
// they stand for (ReadPatternGroupsByQuery, itself checked against the query in
// test_patternlist), case by case: tables as the engine writes them, grouped in one pass (keys of
// every length and character, null and text signatures, rows of one group apart), and tables of
// other forms that one pass would group wrongly (nulls, fractions, texts and numbers beyond 32
// bits where whole numbers belong, numbers out of order, keys of other characters or too long).
#include "app/PatternGroups.h"
#include "foundation/Globals.h"
#include "foundation/cDao.h"
#include "platform/core/Database.h"
#include "tests/support/DbFixture.h"

#include <gtest/gtest.h>

namespace {

QString repeated(const char* text, int times) { return QString::fromLatin1(text).repeated(times); }

struct Case {
    const char* name;
    // Rows in storage order: パターン番号, パターン種別, 部材切取数, 優先順位, 平均使用率, 母材使用数 as SQL.
    std::vector<QStringList> rows;
};

}  // namespace

TEST(PatternGroups, TheSameGroupsInTheSameOrderWithTheSameValuesAsTheGroupingQuery)
{
    DbFixture db;
    const QString longKey = QLatin1Char('\'') + repeated("012,99.5-", 28) + QStringLiteral("012'");   // 255 characters
    const QString tooLong = QLatin1Char('\'') + repeated("012,99.5-", 28) + QStringLiteral("0123'");  // 256
    const Case cases[] = {
        // As the engine writes them.
        {"keys of every length and character",
         {{"1", "'A'", "10", "'002,050.00,'", "80", "2"},
          {"2", "'A'", "10", "'002,1045.00,'", "81", "2"},
          {"3", "'A'", "10", "'002,999.00,'", "82", "2"},
          {"4", "'A'", "10", "''", "83", "1"},
          {"5", "'A'", "10", "'0'", "84", "1"},
          {"6", "'A'", "10", "'00'", "85", "1"},
          {"7", "'A'", "10", "'0,'", "86", "1"},
          {"8", "'A'", "10", "'0-'", "87", "1"},
          {"9", "'A'", "10", "'0.'", "88", "1"},
          {"10", "'A'", "10", "'-'", "89", "1"},
          {"11", "'A'", "10", "','", "90", "1"},
          {"12", "'A'", "10", "'.'", "91", "1"},
          {"13", "'A'", "10", "'9'", "92", "1"},
          {"14", "'A'", "10", "'10'", "93", "1"},
          {"15", "'A'", "10", "'1'", "94", "1"},
          {"16", "'A'", "10", longKey, "95", "3"},
          {"17", "'B'", "10", longKey, "96", "3"},
          {"18", "'A'", "10", "'1'", "97", "1"}}},   // the group of 15
        {"null and text signatures (a number is stored as its text), a group's rows apart",
         {{"1", "'S'", "5", "'001,'", "50.5", "1"},
          {"2", "NULL", "5", "'001,'", "51", "1"},
          {"3", "7", "5", "'001,'", "52", "1"},
          {"4", "'7'", "5", "'001,'", "53", "1"},
          {"5", "'S'", "6", "'001,'", "54", "1"},
          {"6", "'S'", "5", "'001,'", "55", "2"},
          {"7", "NULL", "5", "'001,'", "56", "1"},
          {"8", "7.0", "5", "'001,'", "57", "1"},
          {"9", "'S '", "5", "'001,'", "58", "1"},
          {"10", "'ｓ'", "5", "'001,'", "59", "1"}}},
        {"pieces cut from the least to the most whole number, numbers with gaps",
         {{"3", "'A'", "-2147483648", "'1,'", "1", "1"},
          {"5", "'A'", "2147483647", "'1,'", "2", "1"},
          {"8", "'A'", "0", "'1,'", "3", "1"},
          {"2000000000", "'A'", "2147483647", "'1,'", "4", "32767"}}},
        // Of other forms.
        {"a null key and an empty one", {{"1", "'A'", "1", "''", "1", "1"}, {"2", "'A'", "1", "NULL", "2", "1"}}},
        {"a key with a letter", {{"1", "'A'", "1", "'9'", "1", "1"}, {"2", "'B'", "1", "'A'", "2", "1"},
                                 {"3", "'C'", "1", "'10'", "3", "1"}}},
        {"a key of 256 characters", {{"1", "'A'", "1", tooLong, "1", "1"}, {"2", "'A'", "1", longKey, "2", "1"}}},
        {"a fraction of pieces", {{"1", "'A'", "2", "'1,'", "1", "1"}, {"2", "'A'", "2.5", "'1,'", "2", "1"}}},
        {"a text of pieces", {{"1", "'A'", "'x'", "'1,'", "1", "1"}, {"2", "'A'", "3", "'1,'", "2", "1"}}},
        {"numbers falling", {{"2", "'A'", "1", "'1,'", "1", "1"}, {"1", "'A'", "1", "'1,'", "2", "2"}}},
        {"a number twice", {{"1", "'A'", "1", "'1,'", "1", "1"}, {"1", "'B'", "1", "'1,'", "2", "2"}}},
        {"a null number", {{"1", "'A'", "1", "'1,'", "1", "1"}, {"NULL", "'B'", "1", "'0,'", "2", "2"}}},
        {"a fraction of a number", {{"1", "'A'", "1", "'1,'", "1", "1"}, {"2.5", "'B'", "1", "'1,'", "2", "2"}}},
        {"a null rate", {{"1", "'A'", "1", "'1,'", "NULL", "1"}, {"2", "'B'", "1", "'1,'", "2", "1"}}},
        {"a text rate", {{"1", "'A'", "1", "'1,'", "1", "1"}, {"2", "'B'", "1", "'1,'", "'b'", "1"}}},
        {"a fraction of sheets", {{"1", "'A'", "1", "'1,'", "1", "3.5"}, {"2", "'B'", "1", "'1,'", "2", "1"}}},
        {"pieces beyond 32 bits", {{"1", "'A'", "1", "'1,'", "1", "1"}, {"2", "'B'", "3000000000", "'1,'", "2", "1"}}},
        {"sheets beyond 32 bits", {{"1", "'A'", "1", "'1,'", "1", "1"}, {"2", "'B'", "1", "'1,'", "2", "3000000000"}}},
        {"a null sheet count", {{"1", "'A'", "1", "'1,'", "1", "1"}, {"2", "'B'", "1", "'1,'", "2", "NULL"}}},
    };
    for (const Case& c : cases) {
        ASSERT_GE(gDao().Execute(QStringLiteral("DELETE FROM パターン"), dbFailOnError), 0);
        for (const QStringList& r : c.rows)
            ASSERT_GE(gDao().Execute(QStringLiteral("INSERT INTO パターン (パターン番号,パターン種別,部材切取数,優先順位,平均使用率,"
                                                    "母材使用数) VALUES (") + r.join(QLatin1Char(',')) + QLatin1Char(')'),
                                     dbFailOnError),
                      0)
                << c.name;
        const std::vector<PatternGroup> expected = ReadPatternGroupsByQuery(), groups = ReadPatternGroups();
        ASSERT_EQ(groups.size(), expected.size()) << c.name;
        for (size_t i = 0; i < groups.size(); ++i) {
            EXPECT_EQ(groups[i].patternNo, expected[i].patternNo) << c.name << ", group " << i;
            EXPECT_EQ(groups[i].found, expected[i].found) << c.name << ", group " << i;
            EXPECT_EQ(groups[i].rate, expected[i].rate) << c.name << ", group " << i;
            EXPECT_EQ(groups[i].cut, expected[i].cut) << c.name << ", group " << i;
            EXPECT_EQ(groups[i].sheets, expected[i].sheets) << c.name << ", group " << i;
        }
    }
}
