#pragma once
// Shared by the save and recall tests: both database files, a computation written into the
// working tables, table dumps that keep every value's type and bits, and the two dialogs driven
// through the modal driver.
#include "foundation/Globals.h"
#include "foundation/cApl.h"
#include "foundation/cBase.h"
#include "foundation/cDao.h"
#include "platform/core/Database.h"
#include "platform/core/Registry.h"
#include "platform/gui/Form.h"
#include "platform/gui/GuiSetup.h"
#include "platform/gui/ImText.h"
#include "platform/gui/TDBGrid.h"
#include "results/SaveTables.h"
#include "results/frmLoad.h"
#include "results/frmSave.h"
#include "tests/support/ScopedRegistry.h"
#include "tests/support/DbFixture.h"
#include "tests/support/ScriptedMsgBox.h"
#include "tests/support/Press.h"
#include "ui/LineButton.h"

#include <optional>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <cstring>
#include <gtest/gtest.h>
#include <sqlite3.h>

// One computation in the working tables. Values are chosen so that a column copied into its
// neighbour shows: 部材番号 and 母材番号 differ, rates are doubles without a short decimal form,
// 回転 holds both -1 and 0, and NULL and text columns appear.
inline const char* const kComputationA = R"(
DELETE FROM 母材; DELETE FROM 部材; DELETE FROM 設定; DELETE FROM システム設定;
DELETE FROM パターン; DELETE FROM パターン母材; DELETE FROM パターン部材; DELETE FROM パターンリスト;
INSERT INTO 母材 (母材番号, 幅, 長さ, 数, 色, 色値, 予備) VALUES
  (1, 910, 1820, 3, 'ｸﾘｰﾑ', 12632256, NULL), (2, 600, 1200, 1, '白', 16777215, '予');
INSERT INTO 部材 (部材番号, 幅, 長さ, 数, 色, 色値, 回転) VALUES
  (1, 300, 450, 4, '赤', 255, -1), (2, 200, 200, 2, '青', 16711680, 0), (3, 150, 905, 1, NULL, 65280, -1);
INSERT INTO 設定 (ライン, ライン幅) VALUES (65535, 3);
INSERT INTO システム設定 (切取補助線, 切取位置, 部材切取順序, 部材切取順序詳細, 回転方式, スリット, スリット線,
  表示サイズ, 表示母材, 表示リスト, 並び替え項目)
  VALUES (1, 1, 2, 5, 2, 1, 1, 2, 7, 50, ',切代の少ない順,使用材の少ない順');
INSERT INTO パターン (パターン番号, パターン種別, 優先順位, 母材使用数, 部材切取数, 平均使用率, 平均切代率, 平均端材率, 平均余材率)
  VALUES (1, '1-1,2-1', '0002,33.3333333333333', 2, 7, 100.0/3, 0.1 + 0.2, 1e-300, 66.6666666666667),
         (2, '1-1', '0001,12.5', 1, 5, 12.5, 2.0/7, 0, 85.0);
INSERT INTO パターン母材 (パターン番号, 連番, 母材番号, 枝番, 最大平方, 平方数, 使用面積, 使用率, 切代面積, 切代率,
  端材面積, 端材率, 余材面積, 余材率) VALUES
  (1, 1, 1, 1, 9, 4, 1000000, 100.0/3, 5000, 0.1 + 0.2, 12, 1.0/9, 0, 0),
  (1, 2, 2, 1, 3, 1, 0, 0, 0, 0, 0, 0, 720000, 100),
  (2, 1, 1, 2, 8, 2, 810000, 12.5, 4000, 2.0/7, 7, 0.5, 9, 0.25);
INSERT INTO パターン部材 (パターン番号, 連番, 部材番号, 母材番号, 枝番, 開始横, 開始縦, 終了横, 終了縦, 色) VALUES
  (1, 1, 3, 1, 1, 0, 0, 150, 905, 65280), (1, 1, 99, 1, 1, 150, 0, 153, 1820, 65535),
  (1, 2, 2, 2, 1, 0, 0, 200, 200, 16711680), (2, 1, 1, 0, 0, 0, 0, 0, 0, 255);
INSERT INTO パターンリスト (パターン番号, 部材切取数, リスト番号, 母材使用数, データ) VALUES
  (1, 7, 1, 2, 'データ1'), (2, 5, 2, 1, 'データ2');
)";

// Another computation, different in every table.
inline const char* const kComputationB = R"(
DELETE FROM 母材; DELETE FROM 部材; DELETE FROM 設定; DELETE FROM システム設定;
DELETE FROM パターン; DELETE FROM パターン母材; DELETE FROM パターン部材; DELETE FROM パターンリスト;
INSERT INTO 母材 (母材番号, 幅, 長さ, 数, 色, 色値, 予備) VALUES (1, 400, 800, 2, '黒', 0, NULL);
INSERT INTO 部材 (部材番号, 幅, 長さ, 数, 色, 色値, 回転) VALUES (1, 100, 100, 9, '緑', 32768, 0);
INSERT INTO 設定 (ライン, ライン幅) VALUES (255, 5);
INSERT INTO システム設定 (切取補助線, 切取位置, 部材切取順序, 部材切取順序詳細, 回転方式, スリット, スリット線,
  表示サイズ, 表示母材, 表示リスト, 並び替え項目) VALUES (0, 0, 0, 1, 0, 0, 1, 1, 5, 100, ',使用材の少ない順');
INSERT INTO パターン (パターン番号, パターン種別, 優先順位, 母材使用数, 部材切取数, 平均使用率, 平均切代率, 平均端材率, 平均余材率)
  VALUES (9, '1-1', '0001,9', 1, 9, 9.5, 0.5, 0, 90);
INSERT INTO パターン母材 (パターン番号, 連番, 母材番号, 枝番, 最大平方, 平方数, 使用面積, 使用率, 切代面積, 切代率,
  端材面積, 端材率, 余材面積, 余材率) VALUES (9, 1, 1, 1, 4, 4, 90000, 28.125, 100, 0.03125, 0, 0, 1, 71.84375);
INSERT INTO パターン部材 (パターン番号, 連番, 部材番号, 母材番号, 枝番, 開始横, 開始縦, 終了横, 終了縦, 色) VALUES
  (9, 1, 1, 1, 1, 0, 0, 100, 100, 32768);
INSERT INTO パターンリスト (パターン番号, 部材切取数, リスト番号, 母材使用数, データ) VALUES (9, 9, 1, 1, 'データ9');
)";

inline const QStringList kWorkingTables = {
    QStringLiteral("システム設定"), QStringLiteral("パターン"), QStringLiteral("パターンリスト"),
    QStringLiteral("パターン母材"), QStringLiteral("パターン部材"), QStringLiteral("設定"),
    QStringLiteral("母材"), QStringLiteral("部材"), QStringLiteral("パターン詳細")};

// The rows of a query, each value with its storage class; doubles by their bits.
inline QString DumpRows(const QString& sql)
{
    sqlite3_stmt* st = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(SharedConnection(), utf8.constData(), -1, &st, nullptr) != SQLITE_OK)
        return QStringLiteral("error: ") + QString::fromUtf8(sqlite3_errmsg(SharedConnection()));
    QString out;
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int i = 0; i < sqlite3_column_count(st); ++i) {
            switch (sqlite3_column_type(st, i)) {
            case SQLITE_NULL:
                out += QStringLiteral("N");
                break;
            case SQLITE_INTEGER:
                out += QStringLiteral("I") + QString::number(sqlite3_column_int64(st, i));
                break;
            case SQLITE_FLOAT: {
                const double d = sqlite3_column_double(st, i);
                quint64 bits;
                std::memcpy(&bits, &d, sizeof bits);
                out += QStringLiteral("R") + QString::number(bits, 16);
                break;
            }
            default:
                out += QStringLiteral("T") + QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
            }
            out += QLatin1Char('|');
        }
        out += QLatin1Char('\n');
    }
    sqlite3_finalize(st);
    return out;
}

// Every row of a table in stored order.
inline QString DumpTable(const QString& schema, const QString& table)
{
    return DumpRows(QStringLiteral("SELECT * FROM \"%1\".\"%2\" ORDER BY rowid").arg(schema, table));
}

// The environment the dialogs need, set up once.
class SaveGuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override { SetupGuiPlatform(); }
};
inline const ::testing::Environment* const kSaveGuiEnvironment =
    ::testing::AddGlobalTestEnvironment(new SaveGuiEnvironment);

class SaveRecallTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        registry_.emplace(ShippedLocalMachineFile(), fx_.path(QStringLiteral("hkcu.reg")));
        work(kComputationA);
    }
    void TearDown() override
    {
        for (Form* f : {static_cast<Form*>(&gSave()), static_cast<Form*>(&gLoad())})
            if (f->isLoaded())
                f->unload();
        registry_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Statements on the working database (the fixture's own writes).
    void work(const char* sql) { ASSERT_GE(gDao().Execute(QString::fromUtf8(sql), dbFailOnError), 0) << sql; }
    void saveDb(const QString& sql) { ASSERT_GE(gDaoSave().Execute(sql, dbFailOnError), 0) << sql.toStdString(); }
    QString saveSchema() const { return gDaoSave().CurrentDB()->schema(); }
    QString dumpWorking() const
    {
        QString out;
        for (const QString& t : kWorkingTables)
            out += t + QStringLiteral(":\n") + DumpTable(QStringLiteral("main"), t);
        return out;
    }
    QString dumpSaveDb() const
    {
        QString out;
        for (const QString& t : gDaoSave().CurrentDB()->tableNames())
            out += t + QStringLiteral(":\n") + DumpTable(saveSchema(), t);
        return out;
    }
    int count(const QString& table, const QString& where = QString())
    {
        return gDaoSave().Lookup(table, QStringLiteral("COUNT(*)"), where).intValue();
    }

    static void click(QWidget* b, std::source_location where = std::source_location::current()) { Press(b, where); }

    // Opens the save dialog, types the name and presses 保　存; then runs check while the
    // dialog may still be open. True when the dialog closed itself.
    bool saveAs(const QString& name, const std::function<void(frmSave&)>& check = {})
    {
        bool closed = false;
        ScopedModalDriver driver([&](Form&) {
            frmSave& f = gSave();
            f.txtHozonName->setText(name);
            click(f.lbutAdd);
            closed = !f.isLoaded() || !f.loadedWindow()->isVisible();
            if (check)
                check(f);
        });
        gSave().showModal();
        return closed;
    }

    // Opens the recall dialog and runs the driver in it.
    void withLoad(const std::function<void(frmLoad&)>& body)
    {
        ScopedModalDriver driver([&](Form&) { body(gLoad()); });
        gLoad().showModal();
    }

    // Recalls the save in the grid's row (from 0) through 読　込.
    void recallRow(int row)
    {
        withLoad([&](frmLoad& f) {
            f.TDBGrid->setBookmark(f.TDBGrid->rowBookmark(row));
            click(f.lbutLoad);
        });
    }

    static void saveScreenshot(QWidget* w, const QString& name)
    {
        QImage img(w->size(), QImage::Format_ARGB32);
        img.fill(Qt::white);
        w->render(&img);
        QDir().mkpath(QStringLiteral(PANELO2_ARTIFACT_DIR));
        img.save(QStringLiteral(PANELO2_ARTIFACT_DIR "/") + name + QStringLiteral(".png"));
    }

    DbFixture fx_;
    std::optional<ScopedRegistry> registry_;
    ScriptedMsgBox boxes_;   // every message box a test expects; any other fails it
};
