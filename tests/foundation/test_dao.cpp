// The database wrapper over real files built from schema/.
#include "foundation/Globals.h"
#include "foundation/cBase.h"
#include "foundation/cDao.h"
#include "tests/support/DbFixture.h"
#include "tests/support/ScriptedMsgBox.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>

namespace {

QByteArray fileHash(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

TEST(DaoTest, ExecuteCountsRowsAndFailsWholeWithALogLine)
{
    DbFixture fx;
    EXPECT_EQ(0, gDao().Execute(QStringLiteral("DELETE FROM 母材 WHERE 母材番号=1"), dbFailOnError));
    EXPECT_EQ(1, gDao().Execute(QStringLiteral("INSERT INTO 保存 (保存番号,保存名) VALUES (1,'a')"), dbInconsistent));
    // The second row violates the key: the whole statement changes nothing.
    EXPECT_EQ(-1, gDaoSave().Execute(QStringLiteral("INSERT INTO 保存 (保存番号,保存名) VALUES (2,'b'),(1,'c')"),
                                     dbInconsistent));
    EXPECT_EQ(1, gBase().CvtLng(gDaoSave().Lookup(QStringLiteral("保存"), QStringLiteral("COUNT(*)"), QString())));
    EXPECT_EQ(-1, gDao().Execute(QStringLiteral("INSERT INTO 無い表 VALUES (1)"), dbFailOnError));
    EXPECT_TRUE(fx.errLog().contains(QStringLiteral("cDao                ,Execute")));
    EXPECT_TRUE(fx.errLog().contains(QStringLiteral("無い表")));
}

TEST(DaoTest, LookupGivesTheFirstValueOrNull)
{
    DbFixture fx;
    gDao().Execute(QStringLiteral("INSERT INTO 母材 (母材番号,幅) VALUES (1,910),(2,1220)"), dbFailOnError);
    EXPECT_EQ(910, gBase().CvtLng(gDao().Lookup(QStringLiteral("母材"), QStringLiteral("幅"), QString())));
    EXPECT_EQ(1220, gBase().CvtLng(gDao().Lookup(QStringLiteral("母材"), QStringLiteral("MAX(幅)"), QString())));
    EXPECT_TRUE(gDao().Lookup(QStringLiteral("母材"), QStringLiteral("幅"), QStringLiteral("母材番号=9")).isNull());
    EXPECT_THROW(gDao().Lookup(QStringLiteral("母材"), QStringLiteral("無い列"), QString()), DbError);
}

TEST(DaoTest, TransactionsThroughEitherObjectCoverBoth)
{
    DbFixture fx;
    gDaoSave().BeginTrans();
    gDao().Execute(QStringLiteral("INSERT INTO 設定 (ライン,ライン幅) VALUES (1,2)"), dbFailOnError);
    gDaoSave().Execute(QStringLiteral("INSERT INTO 保存設定 (保存番号,ライン,ライン幅) SELECT 1,ライン,ライン幅 FROM 設定"),
                       dbInconsistent);
    gDao().RollbackTrans();
    EXPECT_TRUE(gDao().Lookup(QStringLiteral("設定"), QStringLiteral("ライン"), QString()).isNull());
    EXPECT_TRUE(gDaoSave().Lookup(QStringLiteral("保存設定"), QStringLiteral("ライン"), QString()).isNull());
    EXPECT_THROW(gDao().CommitTrans(), DbError);

    gDao().Execute(QStringLiteral("INSERT INTO 設定 (ライン,ライン幅) VALUES (1,2)"), dbFailOnError);
    EXPECT_TRUE(gDao().DeleteTableData(QStringLiteral("設定")));
    EXPECT_FALSE(gDao().DeleteTableData(QStringLiteral("無い表")));
    EXPECT_EQ(0, dbtrans::depth());
}

TEST(DaoTest, ConnectFailsWithoutCreatingAFile)
{
    DbFixture fx(false);
    cDao dao;
    EXPECT_FALSE(dao.Connect(fx.path(QStringLiteral("none.mdb")), false));
    EXPECT_FALSE(QFile::exists(fx.path(QStringLiteral("none.mdb"))));
    EXPECT_EQ(-1, dao.Execute(QStringLiteral("SELECT 1"), dbFailOnError));
    EXPECT_TRUE(dao.Connect(fx.workingPath(), false));
}

TEST(DaoTest, LinkTablesArePointedAtTheWorkingDatabase)
{
    DbFixture fx;
    EXPECT_TRUE(gDaoSave().ConnectLinkTable(QStringLiteral("母材"), QString(), QString(), fx.workingPath()));
    EXPECT_EQ(QStringLiteral(";DATABASE=") + fx.workingPath(),
              gDaoSave().CurrentDB()->tableDef(QStringLiteral("母材")).connect);
    // A local table is left alone.
    EXPECT_TRUE(gDaoSave().ConnectLinkTable(QStringLiteral("保存"), QString(), QString(), fx.workingPath()));
    EXPECT_TRUE(gDaoSave().CurrentDB()->tableDef(QStringLiteral("保存")).connect.isEmpty());

    gDao().Execute(QStringLiteral("DROP TABLE パターン母材"), dbFailOnError);
    ScriptedMsgBox boxes;
    boxes.expect(QStringLiteral("ConnectLinkTable"), vbOK, QStringLiteral("パターン母材"));
    boxes.expect(QStringLiteral("ConnectLinkTable"), vbOK);
    EXPECT_FALSE(gDaoSave().ConnectLinkTable(QStringLiteral("パターン母材"), QString(), QString(), fx.workingPath()));
    EXPECT_FALSE(gDaoSave().ConnectLinkTable(QStringLiteral("無い表"), QString(), QString(), fx.workingPath()));
    EXPECT_EQ(vbCritical, boxes.shown().at(0).style);
}

TEST(DaoTest, OdbcConnectStringKeepsTheTypeAndTheTrimmedDatabase)
{
    DbFixture fx;
    ScriptedMsgBox boxes;
    boxes.expect(QStringLiteral("ConnectLinkTable"), vbOK);   // the engine links no ODBC source
    EXPECT_FALSE(gDaoSave().ConnectLinkTable(QStringLiteral("部材"), QString(), QStringLiteral("ODBC"), QStringLiteral("  ")));
    EXPECT_EQ(QStringLiteral("ODBC;"), gDaoSave().CurrentDB()->tableDef(QStringLiteral("部材")).connect);
}

TEST(DaoTest, CompactionReplacesTheFileOnlyWhenTheCopyIsComplete)
{
    DbFixture fx(false);
    cDao dao;
    ASSERT_TRUE(dao.Connect(fx.workingPath(), false));
    dao.Execute(QStringLiteral("INSERT INTO 設定 (ライン,ライン幅) VALUES (9,4)"), dbFailOnError);
    dao.Disconnect();
    EXPECT_TRUE(dao.CompactDatabase(fx.workingPath()));
    ASSERT_TRUE(dao.Connect(fx.workingPath(), false));
    EXPECT_EQ(4, gBase().CvtLng(dao.Lookup(QStringLiteral("設定"), QStringLiteral("ライン幅"), QString())));
    dao.Disconnect();

    QFile junk(fx.savePath());
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly | QIODevice::Truncate));
    junk.write(QByteArray(8192, '\x5a'));
    junk.close();
    const QByteArray before = fileHash(fx.savePath());
    const QStringList filesBefore = QDir(fx.dir()).entryList(QDir::Files);
    ScriptedMsgBox boxes;
    boxes.expect(QStringLiteral("Database Compact Error"), vbOK, QStringLiteral("Error:"));
    EXPECT_FALSE(dao.CompactDatabase(fx.savePath()));
    EXPECT_EQ(before, fileHash(fx.savePath()));
    EXPECT_EQ(filesBefore, QDir(fx.dir()).entryList(QDir::Files));

    boxes.expect(QStringLiteral("Database Compact Error"), vbOK);
    EXPECT_FALSE(dao.CompactDatabase(fx.path(QStringLiteral("missing.mdb"))));
    EXPECT_FALSE(QFile::exists(fx.path(QStringLiteral("missing.mdb"))));
}

// A compaction killed midway leaves its copy (and the copy's journal) under the one name of
// that file's copy: the next compaction removes them first, and leaves nothing else behind.
TEST(DaoTest, ACopyLeftByAKilledCompactionIsRemovedByTheNext)
{
    DbFixture fx(false);
    const QStringList filesBefore = QDir(fx.dir()).entryList(QDir::Files);
    const QString copy = CompactionCopyPath(fx.workingPath());
    EXPECT_EQ(fx.workingPath() + QStringLiteral(".compacting"), copy);
    for (const QString& leftover : {copy, copy + QStringLiteral("-journal")}) {
        QFile f(leftover);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    }
    cDao dao;
    EXPECT_TRUE(dao.CompactDatabase(fx.workingPath()));
    EXPECT_EQ(filesBefore, QDir(fx.dir()).entryList(QDir::Files));
    ASSERT_TRUE(dao.Connect(fx.workingPath(), false));
    EXPECT_EQ(1, gBase().CvtLng(dao.Lookup(QStringLiteral("システム設定"), QStringLiteral("COUNT(*)"), QString())));
}

// A damaged file is named in the message, not the copy that was being written; the file stays
// as it was and no copy is left.
TEST(DaoTest, ADamagedFileIsNamedInTheCompactionMessage)
{
    struct Case {
        const char* what;
        std::function<void(QFile&)> damage;
    };
    const Case cases[] = {
        {"truncated to 3,000 bytes", [](QFile& f) { f.resize(3000); }},
        {"overwritten", [](QFile& f) { f.open(QIODevice::WriteOnly | QIODevice::Truncate); f.write(QByteArray(8192, 'Z')); }},
    };
    for (const Case& c : cases) {
        DbFixture fx(false);
        {
            QFile f(fx.workingPath());
            c.damage(f);
        }
        const QByteArray before = fileHash(fx.workingPath());
        const QStringList filesBefore = QDir(fx.dir()).entryList(QDir::Files);
        ScriptedMsgBox boxes;
        boxes.expect(QStringLiteral("Database Compact Error"), vbOK);
        cDao dao;
        EXPECT_FALSE(dao.CompactDatabase(fx.workingPath())) << c.what;
        ASSERT_EQ(1u, boxes.shown().size());
        const QString text = boxes.shown()[0].text;
        EXPECT_TRUE(text.endsWith(QStringLiteral(": ") + fx.workingPath())) << c.what << ": " << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral(".compacting"))) << text.toStdString();
        EXPECT_EQ(before, fileHash(fx.workingPath())) << c.what;
        EXPECT_EQ(filesBefore, QDir(fx.dir()).entryList(QDir::Files)) << c.what;
    }
}

} // namespace
