// The About box: the version read from the executable in the program folder, the information
// address as a link that lights up under the mouse and opens through the desktop.
#include "app/frmVersion.h"

#include "foundation/cApl.h"
#include "foundation/cFile.h"
#include "foundation/cSystem.h"
#include "platform/core/AppInfo.h"
#include "platform/core/Registry.h"
#include "platform/gui/Colors.h"
#include "platform/gui/GuiSetup.h"
#include "platform/gui/Label.h"
#include "tests/support/ScopedRegistry.h"
#include "tests/support/DbFixture.h"
#include "tests/support/Press.h"
#include "tests/support/ScriptedMsgBox.h"
#include "ui/LineButton.h"

#include <optional>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

class VersionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetupGuiPlatform();
        registry_.emplace(ShippedLocalMachineFile(), fx_.path(QStringLiteral("hkcu.reg")));
        previousStarter_ = SetProgramStarter([this](const QString& program, const QStringList& args, const QString&) {
            started_ << (QStringList{program} + args).join(QLatin1Char(' '));
            return true;
        });
    }
    void TearDown() override
    {
        if (gVersion().isLoaded())
            gVersion().unload();
        SetProgramStarter(previousStarter_);
        SetAppExeName(QStringLiteral("Panelo2"));
        registry_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // An executable in the program folder carrying a version record.
    void writeExecutable(const QByteArray& version)
    {
        QFile f(fx_.path(QStringLiteral("Panelo2")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("\x7f" "ELF padding ") + FileVersionMarker() + version + QByteArray(1, '\0') + "tail");
    }
    // Opens the About box owned by a window and runs body in it.
    void withAbout(const std::function<void(frmVersion&)>& body)
    {
        QWidget owner;
        owner.resize(600, 400);
        owner.show();
        ScopedModalDriver driver([&](Form&) { body(gVersion()); });
        gVersion().ShowModal(&owner);
    }
    static void mouseMove(QWidget* w)
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    static bool lit(const Label* url) { return ForeColor(url) == RGBColor(255, 0, 0) && url->font().underline(); }
    static bool normal(const Label* url) { return ForeColor(url) == 0 && !url->font().underline(); }

    DbFixture fx_{false};
    std::optional<ScopedRegistry> registry_;
    ScriptedMsgBox boxes_;
    QStringList started_;
    ProgramStarter previousStarter_;
};

TEST_F(VersionTest, TheVersionComesFromTheExecutableInTheProgramFolder)
{
    struct Case {
        const char* what;
        QByteArray record;      // empty: no file
        QString shown;
    };
    const Case cases[] = {
        {"a version record", "3.1.0.7", QStringLiteral("Ver.3.1.07")},
        {"no executable", QByteArray(), QStringLiteral("Ver.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(fx_.path(QStringLiteral("Panelo2")));
        if (!c.record.isEmpty())
            writeExecutable(c.record);
        withAbout([&](frmVersion& f) { EXPECT_EQ(c.shown, f.labVer->text()); });
    }
}

TEST_F(VersionTest, TheBuildsOwnExecutableCarriesItsVersion)
{
    // This test program is built like the program: its file carries the build's version record.
    // It stands in the program folder as Panelo2, and is read so while the program runs as Y.
    ASSERT_TRUE(QFile::link(QCoreApplication::applicationFilePath(), fx_.path(QStringLiteral("Panelo2"))));
    SetAppExeName(QStringLiteral("Y"));
    withAbout([&](frmVersion& f) {
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^Ver\\.\\d+\\.\\d+\\.\\d\\d$")).match(f.labVer->text()).hasMatch())
            << f.labVer->text().toStdString();
    });
}

TEST_F(VersionTest, TheLinkLightsUnderTheMouseAndOpensTheAddress)
{
    gApl().URL = QStringLiteral("https://www.example.jp/panelo/");
    writeExecutable("2.0.0.0");
    withAbout([&](frmVersion& f) {
        EXPECT_EQ(QStringLiteral("https://www.example.jp/panelo/"), f.labUrl->text());
        EXPECT_EQ(QStringLiteral("お問い合わせ"), f.labInfo->text());
        EXPECT_EQ(Qt::PointingHandCursor, f.labUrl->cursor().shape());
        EXPECT_TRUE(normal(f.labUrl));
        mouseMove(f.labUrl);
        EXPECT_TRUE(lit(f.labUrl));
        mouseMove(f.labBack);
        EXPECT_TRUE(normal(f.labUrl));
        mouseMove(f.labUrl);
        mouseMove(f.loadedWindow());
        EXPECT_TRUE(normal(f.labUrl));
        QTest::mouseClick(f.labUrl, Qt::LeftButton);
        EXPECT_EQ(QStringList{QStringLiteral("xdg-open https://www.example.jp/panelo/")}, started_);
        EXPECT_TRUE(f.isLoaded() && f.loadedWindow()->isVisible());
    });
}

TEST_F(VersionTest, AnEmptyAddressOpensNothing)
{
    gApl().URL.clear();
    withAbout([&](frmVersion& f) {
        EXPECT_TRUE(f.labUrl->text().isEmpty());
        QTest::mouseClick(f.labUrl, Qt::LeftButton);
    });
    EXPECT_TRUE(started_.isEmpty());
    EXPECT_TRUE(boxes_.shown().empty());
}

TEST_F(VersionTest, TheBoxIsOwnedByItsOpenerAndClosesWithItsButton)
{
    gApl().URL = QStringLiteral("https://www.example.jp/panelo/");
    writeExecutable("2.0.0.0");
    QWidget owner;
    owner.resize(600, 400);
    owner.show();
    ScopedModalDriver driver([&](Form&) {
        frmVersion& f = gVersion();
        FormWindow* w = f.loadedWindow();
        EXPECT_EQ(QStringLiteral("バージョン情報 - Panelo2"), w->windowTitle());
        ASSERT_TRUE(w->windowHandle());
        EXPECT_EQ(owner.windowHandle(), w->windowHandle()->transientParent());
        EXPECT_EQ(Qt::ApplicationModal, w->windowModality());
        EXPECT_EQ(gApl().LineColor(kRoleExit), f.lbutClose->lineColor());
        QImage img(w->size(), QImage::Format_ARGB32);
        img.fill(Qt::white);
        w->render(&img);
        QDir().mkpath(QStringLiteral(PANELO2_ARTIFACT_DIR));
        img.save(QStringLiteral(PANELO2_ARTIFACT_DIR "/frmVersion.png"));
        Press(f.lbutClose);
        EXPECT_FALSE(f.isLoaded() && f.loadedWindow()->isVisible());
    });
    gVersion().ShowModal(&owner);
}

}  // namespace
