// The database layer on real files: one connection for both databases, transactions across
// them, opens that never create a file, recordsets, compaction and links.
#include "platform/core/Database.h"
#include "platform/core/DateSerial.h"
#include "tests/support/DbFixture.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray fileHash(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

class DatabaseTest : public ::testing::Test {
protected:
    DatabaseTest() : fx(false) {}
    void SetUp() override
    {
        work = Database::open(fx.workingPath());
        save = Database::open(fx.savePath());
    }
    int count(const QString& sql) { return work->openRecordset(sql).field(0).intValue(); }
    DbFixture fx;
    std::shared_ptr<Database> work, save;
};

TEST_F(DatabaseTest, OpenNeverCreatesAndRefusesNonDatabases)
{
    const QString missing = fx.path(QStringLiteral("missing.mdb"));
    EXPECT_THROW(Database::open(missing), DbError);
    EXPECT_FALSE(QFile::exists(missing));

    const QString junk = fx.path(QStringLiteral("junk.mdb"));
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    EXPECT_THROW(Database::open(junk), DbError);
    // The files that were open stay usable.
    EXPECT_EQ(1, count(QStringLiteral("SELECT COUNT(*) FROM システム設定")));
}

TEST_F(DatabaseTest, SaveDatabaseReachesWorkingTablesByPlainNames)
{
    work->execute(QStringLiteral("INSERT INTO 設定 (ライン,ライン幅) VALUES (255, 3)"));
    EXPECT_EQ(1, save->execute(QStringLiteral(
                     "INSERT INTO 保存設定 (保存番号,ライン,ライン幅) SELECT 7 AS 保存番号,ライン,ライン幅 FROM 設定")));
    const Recordset rs = save->openRecordset(QStringLiteral("SELECT * FROM 保存設定"));
    ASSERT_EQ(1, rs.recordCount());
    EXPECT_EQ(7, rs.field(QStringLiteral("保存番号")).intValue());
    EXPECT_EQ(255, rs.field(QStringLiteral("ライン")).intValue());
    EXPECT_EQ(3, rs.field(QStringLiteral("ライン幅")).intValue());
}

TEST_F(DatabaseTest, RollbackUndoesBothFilesAndSavepointsNest)
{
    dbtrans::begin();
    work->execute(QStringLiteral("INSERT INTO 設定 (ライン,ライン幅) VALUES (1, 1)"));
    dbtrans::begin();
    save->execute(QStringLiteral("INSERT INTO 保存 (保存番号,保存名) VALUES (1, 'a')"));
    dbtrans::rollback();     // only the inner savepoint
    save->execute(QStringLiteral("INSERT INTO 保存 (保存番号,保存名) VALUES (2, 'b')"));
    EXPECT_EQ(1, dbtrans::depth());
    dbtrans::rollback();
    EXPECT_EQ(0, dbtrans::depth());
    EXPECT_EQ(0, count(QStringLiteral("SELECT COUNT(*) FROM 設定")));
    EXPECT_EQ(0, count(QStringLiteral("SELECT COUNT(*) FROM 保存")));

    dbtrans::begin();
    work->execute(QStringLiteral("INSERT INTO 設定 (ライン,ライン幅) VALUES (1, 1)"));
    save->execute(QStringLiteral("INSERT INTO 保存 (保存番号,保存名) VALUES (1, 'a')"));
    dbtrans::commit();
    EXPECT_EQ(1, count(QStringLiteral("SELECT COUNT(*) FROM 設定")));
    EXPECT_EQ(1, count(QStringLiteral("SELECT COUNT(*) FROM 保存")));
    EXPECT_THROW(dbtrans::commit(), DbError);
}

TEST_F(DatabaseTest, NumbersGivenAsTextAreStoredAsNumbersAndTypesReadBack)
{
    work->execute(QStringLiteral(
        "INSERT INTO 部材 (部材番号,幅,長さ,数,色値,回転) VALUES ('1','300','450','2',255,-1)"));
    const Recordset rs = work->openRecordset(QStringLiteral("SELECT * FROM 部材"));
    EXPECT_EQ(VarType::Integer, rs.field(QStringLiteral("部材番号")).type());
    EXPECT_EQ(VarType::Long, rs.field(QStringLiteral("幅")).type());
    EXPECT_EQ(450, rs.field(QStringLiteral("長さ")).intValue());
    EXPECT_EQ(VarType::Boolean, rs.field(QStringLiteral("回転")).type());
    EXPECT_EQ(-1, rs.field(QStringLiteral("回転")).intValue());
    EXPECT_TRUE(rs.field(QStringLiteral("色")).isNull());
}

TEST_F(DatabaseTest, JetDateLiteralsAreTranslatedOutsideQuotedText)
{
    save->execute(QStringLiteral("INSERT INTO 保存 (保存番号,保存名,保存年月日) VALUES (1,'#2000/01/01#',#2003/04/05#)"));
    const Recordset rs = save->openRecordset(QStringLiteral("SELECT * FROM 保存"));
    EXPECT_EQ(QStringLiteral("#2000/01/01#"), rs.field(QStringLiteral("保存名")).stringValue());
    const Variant d = rs.field(QStringLiteral("保存年月日"));
    ASSERT_EQ(VarType::Date, d.type());
    EXPECT_EQ(QDate(2003, 4, 5), SerialDate(d.doubleValue()));
}

TEST_F(DatabaseTest, RecordsetCursorCloneAndBookmarks)
{
    for (int i = 1; i <= 3; ++i)
        work->execute(QStringLiteral("INSERT INTO 母材 (母材番号,幅,長さ,数) VALUES (%1,%1,%1,%1)").arg(i));
    Recordset rs = work->openRecordset(QStringLiteral("SELECT * FROM 母材 ORDER BY 母材番号"));
    EXPECT_EQ(3, rs.recordCount());
    EXPECT_FALSE(rs.bof());
    rs.moveLast();
    const int third = rs.bookmark();
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    EXPECT_THROW(rs.field(0), DbError);
    EXPECT_THROW(rs.moveNext(), DbError);
    rs.setBookmark(third);
    EXPECT_EQ(3, rs.field(QStringLiteral("幅")).intValue());

    Recordset c = rs.clone();
    EXPECT_EQ(1, c.field(QStringLiteral("幅")).intValue());
    EXPECT_EQ(3, rs.field(QStringLiteral("幅")).intValue());   // the clone moves alone
    EXPECT_THROW(rs.field(QStringLiteral("無い")), DbError);

    Recordset empty = work->openRecordset(QStringLiteral("SELECT * FROM 部材"));
    EXPECT_TRUE(empty.bof());
    EXPECT_TRUE(empty.eof());
    EXPECT_THROW(empty.moveFirst(), DbError);
}

TEST_F(DatabaseTest, UpdatableRecordsetWritesThroughByRowid)
{
    work->execute(QStringLiteral("INSERT INTO 母材 (母材番号,幅,長さ,数) VALUES (1,910,1820,3)"));
    work->execute(QStringLiteral("INSERT INTO 母材 (母材番号,幅,長さ,数) VALUES (1,910,1820,3)"));
    Recordset rs = work->openRecordset(QStringLiteral("SELECT * FROM 母材 ORDER BY 母材番号"), true);
    ASSERT_TRUE(rs.updatable());
    int observed = 0;
    rs.addObserver([&] { ++observed; });

    rs.moveLast();
    rs.edit();
    rs.setField(QStringLiteral("母材番号"), Variant(int16_t(2)));
    Recordset other = rs.clone();
    other.moveLast();
    EXPECT_EQ(1, other.field(QStringLiteral("母材番号")).intValue());   // a pending edit is the cursor's own
    rs.setField(QStringLiteral("数"), Variant(QStringLiteral("5")));
    rs.update();
    EXPECT_EQ(5, rs.field(QStringLiteral("数")).intValue());    // read back with the column's type
    EXPECT_EQ(1, count(QStringLiteral("SELECT COUNT(*) FROM 母材 WHERE 母材番号=2 AND 数=5")));
    EXPECT_EQ(1, count(QStringLiteral("SELECT COUNT(*) FROM 母材 WHERE 母材番号=1")));   // identical rows kept apart

    rs.addNew();
    rs.setField(QStringLiteral("母材番号"), Variant(int16_t(3)));
    rs.update();
    EXPECT_EQ(3, rs.recordCount());
    rs.setBookmark(rs.lastModified());
    EXPECT_EQ(3, rs.field(QStringLiteral("母材番号")).intValue());

    rs.moveFirst();
    rs.deleteRow();
    EXPECT_THROW(rs.field(0), DbError);
    rs.moveNext();
    EXPECT_EQ(2, rs.field(QStringLiteral("母材番号")).intValue());
    EXPECT_EQ(2, count(QStringLiteral("SELECT COUNT(*) FROM 母材")));
    EXPECT_EQ(3, observed);

    Recordset ro = work->openRecordset(QStringLiteral("SELECT * FROM 母材"));
    EXPECT_THROW(ro.edit(), DbError);
}

TEST_F(DatabaseTest, LinksAreCheckedAgainstTheWorkingDatabase)
{
    const auto def = save->tableDef(QStringLiteral("パターン"));
    EXPECT_FALSE(def.connect.isEmpty());
    save->setLink(QStringLiteral("パターン"), QStringLiteral(";DATABASE=") + fx.workingPath(), QStringLiteral("パターン"));
    EXPECT_NO_THROW(save->refreshLink(QStringLiteral("パターン")));
    // A link to a file that is not on the connection, or to a missing table, fails.
    save->setLink(QStringLiteral("パターン"), QStringLiteral(";DATABASE=") + fx.savePath(), QStringLiteral("パターン"));
    EXPECT_THROW(save->refreshLink(QStringLiteral("パターン")), DbError);
    work->execute(QStringLiteral("DROP TABLE パターン母材"));
    save->setLink(QStringLiteral("パターン母材"), QStringLiteral(";DATABASE=") + fx.workingPath(),
                  QStringLiteral("パターン母材"));
    EXPECT_THROW(save->refreshLink(QStringLiteral("パターン母材")), DbError);
    // A local table is not a link.
    EXPECT_TRUE(save->tableDef(QStringLiteral("保存")).connect.isEmpty());
    EXPECT_THROW(save->tableDef(QStringLiteral("無い表")), DbError);
}

TEST(CompactDatabaseFileTest, CompactsIntoANewFileAndFailsOnJunk)
{
    DbFixture fx(false);
    const QString out = fx.path(QStringLiteral("out.mdb"));
    CompactDatabaseFile(fx.workingPath(), out);
    auto db = Database::open(out);
    EXPECT_TRUE(db->hasTable(QStringLiteral("パターン部材")));
    db->close();

    const QString junk = fx.path(QStringLiteral("junk.mdb"));
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a database at all, but long enough to look like one?", 57);
    f.close();
    const QByteArray before = fileHash(junk);
    EXPECT_THROW(CompactDatabaseFile(junk, fx.path(QStringLiteral("out2.mdb"))), DbError);
    EXPECT_EQ(before, fileHash(junk));
}

// The longest path the layer takes: a file whose full path (links resolved) is as long as
// MaxDatabasePathBytes() is compacted into, opened and written through its journal; one byte
// longer is refused. A folder reached through a short link counts by its real path.
TEST(DatabasePathTest, AFileAtTheLimitWorksAndOneByteLongerIsRefused)
{
    DbFixture fx(false);
    const QString folder =
        QFileInfo(fx.dir()).canonicalFilePath() + QLatin1Char('/') + QString(200, u'd') + QLatin1Char('/') + QString(200, u'e');
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString link = fx.path(QStringLiteral("l"));
    ASSERT_TRUE(QFile::link(folder, link));
    for (int extra : {0, 1}) {
        SCOPED_TRACE(extra);
        const qsizetype nameBytes = MaxDatabasePathBytes() - folder.toUtf8().size() - 1 + extra;
        ASSERT_GT(nameBytes, 8);
        const QString path = link + QLatin1Char('/') + QString(nameBytes - 4, u'n') + QStringLiteral(".mdb");
        EXPECT_EQ(MaxDatabasePathBytes() + extra, DatabasePathBytes(path));
        if (extra == 0) {
            CompactDatabaseFile(fx.workingPath(), path);
            auto db = Database::open(path);
            dbtrans::begin();
            EXPECT_EQ(1, db->execute(QStringLiteral("INSERT INTO 設定 (ライン,ライン幅) VALUES (255, 3)")));
            dbtrans::commit();
            db->close();
        } else {
            EXPECT_THROW(CompactDatabaseFile(fx.workingPath(), path), DbError);
            ASSERT_TRUE(QFile::copy(fx.workingPath(), path));
            EXPECT_THROW(Database::open(path), DbError);
        }
        ResetDatabaseEngine();
    }
}

} // namespace
