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
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Compaction rewrites a file only where that pays: a tenth of its pages free, or pages of
// another size than the program's.
TEST(DaoTest, ACompactionIsWorthItForFreedPagesOrAnotherPageSize)
{
    const int other = kDatabasePageSize == 4096 ? 65536 : 4096;
    struct Case {
        int pageSize;
        int64_t pages, freePages;
        bool worth;
    } const cases[] = {
        {kDatabasePageSize, 1000, 0, false}, {kDatabasePageSize, 1000, 99, false},
        {kDatabasePageSize, 1000, 100, true}, {kDatabasePageSize, 3, 1, true},
        {other, 1000, 0, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.worth, WorthCompacting({c.pageSize, c.pages, c.freePages}))
            << c.pageSize << " " << c.pages << " " << c.freePages;
}

TEST(DaoTest, TheSchemaBuildsBothFilesWithTheProgramsPageSize)
{
    DbFixture fx(false);
    EXPECT_EQ(kDatabasePageSize, ReadDatabaseFileSpace(fx.workingPath()).pageSize);
    EXPECT_EQ(kDatabasePageSize, ReadDatabaseFileSpace(fx.savePath()).pageSize);
}

// Every row of every table of a closed file, in storage order, as one digest.
QByteArray rowsDigest(const QString& path)
{
    return FileDigest(path, "SELECT name, sql FROM sqlite_master ORDER BY name");
}

void execOn(const QString& path, const char* sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(QFile::encodeName(path).constData(), &db));
    char* err = nullptr;
    EXPECT_EQ(SQLITE_OK, sqlite3_exec(db, sql, nullptr, nullptr, &err)) << (err ? err : "");
    sqlite3_free(err);
    sqlite3_close(db);
}

struct stat fileStat(const QString& path)
{
    struct stat st{};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st;
}

// A working database whose patterns of an earlier computation were removed: most of it free.
void leaveFreedPages(const QString& path)
{
    execOn(path, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) "
                 "INSERT INTO パターン部材 (パターン番号,連番,部材番号,開始横) SELECT i, 1, i % 12, i FROM n;"
                 "INSERT INTO 設定 (ライン,ライン幅) VALUES (255,3);"
                 "DELETE FROM パターン部材 WHERE パターン番号 > 100;");
}

TEST(DaoTest, AFileWithNothingToGiveBackIsNotRewritten)
{
    DbFixture fx(false);
    const struct stat before = fileStat(fx.workingPath());
    const QByteArray bytes = fileHash(fx.workingPath());
    cDao dao;
    EXPECT_TRUE(dao.CompactDatabase(fx.workingPath()));
    EXPECT_EQ(before.st_ino, fileStat(fx.workingPath()).st_ino);
    EXPECT_EQ(bytes, fileHash(fx.workingPath()));
}

// Freed pages are given back and an older page size becomes the program's; every row stays, and
// the file keeps its mode.
TEST(DaoTest, ACompactionGivesBackFreedPagesAndConvertsThePageSizeKeepingEveryRow)
{
    const int other = kDatabasePageSize == 4096 ? 65536 : 4096;
    struct Case {
        const char* what;
        std::function<void(const QString&)> prepare;
    } const cases[] = {
        {"freed pages", [](const QString& p) { leaveFreedPages(p); }},
        {"another page size",
         [other](const QString& p) { execOn(p, QStringLiteral("PRAGMA page_size = %1; VACUUM;").arg(other).toUtf8()); }},
    };
    for (const Case& c : cases) {
        DbFixture fx(false);
        c.prepare(fx.workingPath());
        ASSERT_EQ(0, ::chmod(QFile::encodeName(fx.workingPath()).constData(), 0640));
        const QByteArray rows = rowsDigest(fx.workingPath());
        const qint64 size = QFileInfo(fx.workingPath()).size();
        const QStringList filesBefore = QDir(fx.dir()).entryList(QDir::Files);
        cDao dao;
        EXPECT_TRUE(dao.CompactDatabase(fx.workingPath())) << c.what;
        const DatabaseFileSpace space = ReadDatabaseFileSpace(fx.workingPath());
        EXPECT_EQ(kDatabasePageSize, space.pageSize) << c.what;
        EXPECT_EQ(0, space.freePages) << c.what;
        if (std::string_view(c.what) == "freed pages")
            EXPECT_LT(QFileInfo(fx.workingPath()).size() * 2, size);
        EXPECT_EQ(rows, rowsDigest(fx.workingPath())) << c.what;
        EXPECT_EQ(0640u, fileStat(fx.workingPath()).st_mode & 07777) << c.what;
        EXPECT_EQ(filesBefore, QDir(fx.dir()).entryList(QDir::Files)) << c.what;
    }
}

// While it lives the process checks file access as the user nobody (root may write any file,
// so a root test run takes another user's place; any other user is refused a 0444 file anyway).
class AsAnotherUser {
public:
    AsAnotherUser()
    {
        if (::getuid() == 0)
            changed_ = ::setreuid(65534, 0) == 0;
    }
    ~AsAnotherUser()
    {
        if (changed_)
            (void)::setreuid(0, 0);
    }

private:
    bool changed_ = false;
};

TEST(DaoTest, AFileTheUserMayNotWriteIsNeverReplaced)
{
    DbFixture fx(false);
    leaveFreedPages(fx.workingPath());
    ASSERT_EQ(0, ::chmod(QFile::encodeName(fx.workingPath()).constData(), 0444));
    const struct stat before = fileStat(fx.workingPath());
    const QByteArray bytes = fileHash(fx.workingPath());
    const QStringList filesBefore = QDir(fx.dir()).entryList(QDir::Files);
    cDao dao;
    {
        AsAnotherUser nobody;
        EXPECT_TRUE(dao.CompactDatabase(fx.workingPath()));
    }
    const struct stat after = fileStat(fx.workingPath());
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(0444u, after.st_mode & 07777);
    EXPECT_EQ(bytes, fileHash(fx.workingPath()));
    EXPECT_EQ(filesBefore, QDir(fx.dir()).entryList(QDir::Files));
}

// Another user's file that this user may write: the copy takes its owner and group.
TEST(DaoTest, TheCompactedCopyKeepsTheOwnerOfTheFile)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a file to another user needs root";
    DbFixture fx(false);
    leaveFreedPages(fx.workingPath());
    const QByteArray path = QFile::encodeName(fx.workingPath());
    ASSERT_EQ(0, ::chown(path.constData(), 4321, 4322));
    ASSERT_EQ(0, ::chmod(path.constData(), 0660));
    const ino_t inode = fileStat(fx.workingPath()).st_ino;
    cDao dao;
    EXPECT_TRUE(dao.CompactDatabase(fx.workingPath()));
    const struct stat after = fileStat(fx.workingPath());
    EXPECT_NE(inode, after.st_ino);   // replaced by the copy
    EXPECT_EQ(4321u, after.st_uid);
    EXPECT_EQ(4322u, after.st_gid);
    EXPECT_EQ(0660u, after.st_mode & 07777);
}

} // namespace
