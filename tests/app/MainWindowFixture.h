#pragma once
// The program folder of a test, built as the build builds it (both databases from schema/, the
// files of data/ beside them), the program started in it, and user input into the main window.
#include "app/Startup.h"
#include "app/frmTavo.h"
#include "foundation/ErrLog.h"
#include "foundation/Globals.h"
#include "foundation/cBase.h"
#include "foundation/cApl.h"
#include "foundation/cDao.h"
#include "platform/core/Registry.h"
#include "platform/gui/Events.h"
#include "platform/gui/Handler.h"
#include "platform/gui/NumberFormat.h"
#include "platform/gui/TDBGrid.h"
#include "tests/platform_gui/GuiTestUtil.h"
#include "tests/support/ScopedRegistry.h"
#include "tests/support/DbFixture.h"
#include "tests/support/Press.h"
#include "ui/LineButton.h"
#include "ui/frmPallete.h"

#include <optional>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <sqlite3.h>

// Runs statements on a database file that the program has not opened yet.
inline void ExecOnFile(const QString& path, const QString& sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(QFile::encodeName(path).constData(), &db));
    char* err = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err);
    const std::string message = err ? err : "";
    sqlite3_free(err);
    sqlite3_close(db);
    ASSERT_EQ(SQLITE_OK, rc) << message;
}

// The look and the program's one number formatter and error sink, as the program sets them up
// (message boxes stay with each test's scripted answerer).
class ProgramEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        SetupGuiPlatform();
        SetNumberFormatter([](double value, const QString& pattern) { return FormatNumber(value, pattern); });
        SetHandlerErrorSink([](const QString& description, const QString& module, const QString& procedure) {
            SetErrLog(description, module.left(20), procedure.left(30));
        });
    }
};
inline const ::testing::Environment* const kProgramEnvironment =
    ::testing::AddGlobalTestEnvironment(new ProgramEnvironment);

// Copies the files shipped beside the executable (data/) into the folder.
inline void CopyShippedFiles(const QString& folder)
{
    const QDir data(QStringLiteral(PANELO2_SCHEMA_DIR "/../data"));
    for (const QString& f : data.entryList(QDir::Files))
        QFile::copy(data.filePath(f), folder + QLatin1Char('/') + f);
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CopyShippedFiles(fx_.dir());
        registry_.emplace(fx_.path(QStringLiteral("HKEY_LOCAL_MACHINE.reg")), fx_.path(QStringLiteral("hkcu.reg")));
        SetWaitScale(0.001);   // the start-up waits take a millisecond
    }
    void TearDown() override
    {
        if (gTavo().isLoaded()) {
            gTavo().Busy = false;
            gTavo().unload();
        }
        ReleaseInstanceLock();
        registry_.reset();
        SetWaitScale(1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QString errLog() const { return fx_.errLog(); }
    Variant lookup(const QString& table, const QString& field, const QString& where = QString())
    {
        return gDao().Lookup(table, field, where);
    }
    int count(const QString& table) { return lookup(table, QStringLiteral("COUNT(*)")).intValue(); }

    DbFixture fx_{false};
    std::optional<ScopedRegistry> registry_;
};

// The program started in its folder, its main window at its default size and active.
class MainWindowTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        prepare();
        ASSERT_EQ(StartResult::Runs, Main());
        w = gTavo().loadedWindow();
        ASSERT_TRUE(w);
        QApplication::setActiveWindow(w);
    }
    // The working database before the program starts (rows of 母材 and 部材, settings).
    virtual void prepare() {}
    void sql(const QString& statements) { ExecOnFile(fx_.workingPath(), statements); }
    frmTavo& tavo() { return gTavo(); }

    // Clicks a line button or a push button as the user does.
    static void click(QWidget* b, std::source_location where = std::source_location::current()) { Press(b, where); }
    // Clicks a cell of a grid (row, column as the view shows them).
    static void clickCell(TDBGrid* g, int row, int col)
    {
        const QRect r = g->visualRect(g->model()->index(row, col));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, r.center() - QPoint(4, 0));
    }
    // Types into whatever has the focus.
    static void type(const QString& text)
    {
        for (QChar c : text)
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
    static void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), k, m);
    }
    // Enters rows into a grid from its add-new row: each cell's text and Enter; Enter past the
    // colour cell and the last column moves on to the next row.
    static void enterRows(TDBGrid* g, const std::vector<std::vector<QString>>& rows)
    {
        clickCell(g, g->rowCount(), 1);
        for (const auto& cells : rows) {
            for (const QString& text : cells) {
                type(text);
                key(Qt::Key_Return);
            }
            key(Qt::Key_Return);   // 色
            key(Qt::Key_Return);   // the last column: on to the next row's number
            key(Qt::Key_Return);   // to 幅
        }
    }

    FormWindow* w = nullptr;
};

// Answers the colour palette: picks swatch k and confirms, or cancels (k < 0); counts the openings.
struct PaletteAnswer {
    int swatch = -1;
    int openings = 0;
    ScopedModalDriver driver{[this](Form& f) {
        auto& p = static_cast<frmPallete&>(f);
        ++openings;
        if (swatch >= 0)
            QTest::mouseClick(p.col(swatch), Qt::LeftButton);
        Press(swatch >= 0 ? p.lbutOK() : p.lbutCancel());
    }};
};
