// Form utilities on plain top-level widgets: centring, loaded forms and unloading, the close
// command, disabling every control, aspect ratio, pixel geometry and control placement.
#include "foundation/gui/cVBForm.h"
#include "platform/core/AppInfo.h"
#include "platform/core/InstanceLock.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTimer>
#include <QTemporaryDir>
#include <QWindow>
#include <gtest/gtest.h>
#include <cstdio>
#include <memory>

// QtCore befriends this name for delivering events as the window system does.
bool qt_sendSpontaneousEvent(QObject* receiver, QEvent* event)
{
    return QCoreApplication::sendSpontaneousEvent(receiver, event);
}

namespace {

class RefusingForm : public QWidget {
protected:
    void closeEvent(QCloseEvent* e) override { e->ignore(); }
};

std::unique_ptr<QWidget> MakeForm(const QString& name, const QString& caption = QString())
{
    auto w = std::make_unique<QWidget>();
    w->setObjectName(name);
    w->setWindowTitle(caption);
    w->resize(400, 300);
    return w;
}

// The user's closing: a close request that comes from the window system, as a spontaneous
// event to the widget's window.
void UserClose(QWidget* w)
{
    ASSERT_NE(nullptr, w->windowHandle());
    QCloseEvent e;
    qt_sendSpontaneousEvent(w->windowHandle(), &e);
}

TEST(VBFormTest, CentreOfTheWorkAreaSize)
{
    const QPointF p = ScreenCenterTwips(QRect(0, 0, 1024, 738), 6000, 4000);
    EXPECT_FLOAT_EQ(4680, p.x());
    EXPECT_FLOAT_EQ(3535, p.y());
    // A task bar at the top does not move the form down: only the work area's size counts.
    const QPointF top = ScreenCenterTwips(QRect(QPoint(0, 30), QPoint(1023, 767)), 6000, 4000);
    EXPECT_FLOAT_EQ(3535, top.y());
    EXPECT_FLOAT_EQ(-500, ScreenCenterTwips(QRect(0, 0, 100, 100), 2500, 1000).x());   // larger than the area

    auto form = MakeForm(QStringLiteral("frmTavo"));
    form->show();
    cVBForm().FitScreenCenter(form.get());
    const QRect area = form->screen()->availableGeometry();
    const QSize outer = form->frameGeometry().size();
    EXPECT_EQ(QPoint((area.width() - outer.width()) / 2, (area.height() - outer.height()) / 2),
              form->frameGeometry().topLeft());
    EXPECT_EQ(QSize(400, 300), form->size());
}

TEST(VBFormTest, UnloadAllFormClosesEveryFormThatAgrees)
{
    cVBForm vb;
    auto main = MakeForm(QStringLiteral("frmTavo"), QStringLiteral("Panelo2"));
    auto detail = MakeForm(QStringLiteral("frmDetail"), QStringLiteral("詳細"));
    QPointer<QWidget> detailPtr = detail.get();
    detail->setAttribute(Qt::WA_DeleteOnClose);
    auto refusing = std::make_unique<RefusingForm>();
    refusing->setObjectName(QStringLiteral("frmSave"));
    auto hidden = MakeForm(QStringLiteral("frmLoad"));      // loaded, never shown
    main->show();
    detail->show();
    refusing->show();

    EXPECT_EQ(4, vb.CountLoadForm());
    EXPECT_EQ(3, vb.VisibleFormCount());
    EXPECT_TRUE(vb.IsFormLoad(QStringLiteral("frmDetail")));
    EXPECT_FALSE(vb.IsFormLoad(QStringLiteral("frmdetail")));          // case counts
    EXPECT_TRUE(vb.IsFormLoad(QStringLiteral("詳細"), false));          // by caption
    EXPECT_FALSE(vb.IsFormLoad(QStringLiteral("frmDetail"), false));
    EXPECT_TRUE(vb.IsFormLoad(QStringLiteral("frmLoad")));
    EXPECT_TRUE(vb.CheckExistForm(main.get()));

    detail.release();                                                  // deletes itself on close
    vb.UnloadAllForm();
    EXPECT_EQ(1, vb.CountLoadForm());
    EXPECT_TRUE(vb.IsFormLoad(QStringLiteral("frmSave")));
    EXPECT_FALSE(vb.IsFormLoad(QStringLiteral("frmDetail")));          // gone before its deletion runs
    EXPECT_FALSE(vb.IsFormLoad(QStringLiteral("frmLoad")));
    EXPECT_FALSE(vb.CheckExistForm(main.get()));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(detailPtr.isNull());
    EXPECT_EQ(1, vb.VisibleFormCount());
}

TEST(VBFormTest, CloseButtonRefusesOnlyTheUsersClosing)
{
    cVBForm vb;
    auto form = MakeForm(QStringLiteral("frmDetail"));
    form->show();
    form->activateWindow();
    QApplication::setActiveWindow(form.get());
    QWidget* window = nullptr;                                         // the active window
    vb.EnableCloseButton(false, window);
    EXPECT_EQ(form.get(), window);
    EXPECT_FALSE(form->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(QSize(400, 300), form->size());
    UserClose(form.get());
    EXPECT_TRUE(form->isVisible());

    vb.EnableCloseButton(true, window);
    EXPECT_TRUE(form->windowFlags() & Qt::WindowCloseButtonHint);
    UserClose(form.get());
    EXPECT_FALSE(form->isVisible());

    form->show();                                                      // the program's close still works
    vb.EnableCloseButton(false, window);
    EXPECT_TRUE(form->close());
}

TEST(VBFormTest, EnableAllButtonsRestoresEachControl)
{
    auto form = MakeForm(QStringLiteral("frmSysPrintDtl"));
    auto* ok = new QPushButton(QStringLiteral("登録"), form.get());
    auto* off = new QPushButton(QStringLiteral("削除"), form.get());
    off->setEnabled(false);
    auto* frame = new QGroupBox(form.get());
    auto* edit = new QLineEdit(frame);
    auto* number = new QSpinBox(form.get());
    form->show();

    cVBForm vb;
    vb.EnableAllButtons(form.get(), false);
    for (QWidget* w : std::initializer_list<QWidget*>{ok, off, frame, edit, number})
        EXPECT_FALSE(w->isEnabled());
    UserClose(form.get());
    EXPECT_TRUE(form->isVisible());                                    // the close command is gone too

    vb.EnableAllButtons(form.get(), true);
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_FALSE(off->isEnabled());
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_TRUE(number->isEnabled());
    EXPECT_TRUE(form->windowFlags() & Qt::WindowCloseButtonHint);

    // Restoring without a saved state enables the controls rather than disabling them.
    cVBForm fresh;
    fresh.EnableAllButtons(form.get(), true);
    EXPECT_TRUE(off->isEnabled());
}

TEST(VBFormTest, TopMostTitleBarAndWindowState)
{
    cVBForm vb;
    auto form = MakeForm(QStringLiteral("frmTavo"), QStringLiteral("Panelo2"));
    form->move(30, 40);
    form->show();
    const QRect before = form->frameGeometry();
    vb.TopMost(true, form.get());
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(before, form->frameGeometry());
    vb.TopModalForm(form.get(), false);
    EXPECT_FALSE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(form->isVisible());

    vb.TitleBar(form.get(), true, QString());
    EXPECT_EQ(QStringLiteral("frmTavo"), form->windowTitle());
    vb.TitleBar(form.get(), true, QStringLiteral("裁断計画"));
    EXPECT_EQ(QStringLiteral("裁断計画"), form->windowTitle());
    vb.Maximize(form.get());
    EXPECT_TRUE(form->isMaximized());
    EXPECT_EQ(QString(), form->windowTitle());
    vb.Normalize(form.get(), QStringLiteral("裁断計画"));
    EXPECT_FALSE(form->isMaximized());
    EXPECT_EQ(QStringLiteral("裁断計画"), form->windowTitle());
}

TEST(VBFormTest, PixelGeometryRatioAndCopy)
{
    cVBForm vb;
    auto form = MakeForm(QStringLiteral("frmDetail"));
    form->move(30, 40);
    form->show();
    const int bw = form->frameGeometry().width() - form->width();
    const int bh = form->frameGeometry().height() - form->height();
    EXPECT_EQ(bw * kTwipsPerPixel, vb.SystemBorderWidth(form.get()));
    EXPECT_EQ(bh * kTwipsPerPixel, vb.SystemBorderHeight(form.get()));
    EXPECT_FLOAT_EQ(30, vb.PixelPx(form.get()));
    EXPECT_FLOAT_EQ(40, vb.PixelPy(form.get()));
    EXPECT_FLOAT_EQ(400 + bw, vb.PixelSx(form.get()));
    EXPECT_FLOAT_EQ(300 + bh, vb.PixelSy(form.get()));

    vb.ResizeKeepXYRatio(form.get(), 4, 1);                            // client 400 : 100
    EXPECT_EQ(QSize(400, 100), form->size());
    vb.ResizeKeepXYRatio(form.get(), 0, 1);                            // refused, no division by zero
    EXPECT_EQ(QSize(400, 100), form->size());

    auto copy = MakeForm(QStringLiteral("frmCopy"));
    copy->show();
    vb.CopyFormGeometry(form.get(), copy.get());
    EXPECT_EQ(form->frameGeometry(), copy->frameGeometry());

    form->showMaximized();
    const int screenHeight = form->screen()->geometry().height();
    EXPECT_FLOAT_EQ(0, vb.PixelPx(form.get()));
    EXPECT_FLOAT_EQ(0, vb.PixelPy(form.get()));
    EXPECT_FLOAT_EQ(screenHeight * 4.0f / 3.0f, vb.PixelSx(form.get()));
    EXPECT_FLOAT_EQ(float(screenHeight), vb.PixelSy(form.get()));
    const QSize maximized = form->size();
    vb.ResizeKeepXYRatio(form.get(), 1, 1);
    EXPECT_EQ(maximized, form->size());
}

TEST(VBFormTest, MostRightControlAndPlacement)
{
    cVBForm vb;
    auto empty = MakeForm(QStringLiteral("frmEmpty"));
    EXPECT_EQ(nullptr, vb.MostRightControl(empty.get(), QString()));
    EXPECT_EQ(0, vb.MostRightControlRight(empty.get(), QString()));

    auto form = MakeForm(QStringLiteral("frmList"));
    auto* first = new QPushButton(form.get());
    first->setGeometry(10, 10, 100, 20);                               // right edge 110
    auto* edit = new QLineEdit(form.get());
    edit->setGeometry(50, 50, 60, 20);                                 // 110 too
    auto* second = new QPushButton(form.get());
    second->setGeometry(20, 80, 90, 20);                               // 110 too
    auto* label = new QLabel(form.get());
    label->setGeometry(0, 120, 200, 10);
    EXPECT_EQ(label, vb.MostRightControl(form.get(), QString()));
    // By the type names of the controls, as every other helper names them.
    EXPECT_EQ(first, vb.MostRightControl(form.get(), QStringLiteral("CommandButton")));   // the first wins a tie
    EXPECT_EQ(edit, vb.MostRightControl(form.get(), QStringLiteral("TextBox")));
    EXPECT_EQ(110 * kTwipsPerPixel, vb.MostRightControlRight(form.get(), QStringLiteral("CommandButton")));
    EXPECT_EQ(nullptr, vb.MostRightControl(form.get(), QStringLiteral("ComboBox")));
    EXPECT_EQ(nullptr, vb.MostRightControl(form.get(), QStringLiteral("QPushButton")));

    // A reference at Left 120, Top 300, Width 1050, Height 300 twips; the gap is 150.
    EXPECT_EQ(150, vb.ControlGap);
    auto* reference = new QPushButton(form.get());
    reference->setGeometry(8, 20, 70, 20);
    auto* target = new QPushButton(form.get());
    target->setGeometry(0, 0, 10, 10);
    vb.SetPosition(reference, target, 1);
    EXPECT_EQ(QPoint(88, 20), target->pos());                          // Left 1320, Top 300
    vb.SetPosition(reference, target, 2);
    EXPECT_EQ(QPoint(8, 50), target->pos());                           // Left 120, Top 750
    vb.SetPosition(reference, target, 3);
    EXPECT_EQ(QPoint(8, 50), target->pos());
}

// The other instance of the test below, run in a process of its own: holds the lock named by
// PANELO2_TEST_LOCK until a knock comes (or 30 seconds pass), and says so on its output.
TEST(VBFormTest, DISABLED_OtherInstance)
{
    const QString path = qEnvironmentVariable("PANELO2_TEST_LOCK");
    ASSERT_FALSE(path.isEmpty());
    InstanceLock lock(path);
    ASSERT_EQ(InstanceLock::Acquired, lock.acquire());
    QEventLoop loop;
    bool knocked = false;
    QObject::connect(&lock, &InstanceLock::knocked, &loop, [&] {
        knocked = true;
        loop.quit();
    });
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    std::printf("held\n");
    std::fflush(stdout);
    loop.exec();
    std::printf(knocked ? "knocked\n" : "not knocked\n");
    std::fflush(stdout);
}

// Another instance is one that holds the program folder's lock in another process: it is
// knocked on, so its window comes to the front. This process's own lock is no other instance.
TEST(VBFormTest, AnotherInstanceInTheFolderIsSeenAndKnockedOn)
{
    QTemporaryDir dir;
    SetAppPath(dir.path());
    SetAppExeName(QStringLiteral("Panelo2"));
    cVBForm vb;
    EXPECT_FALSE(vb.IsRunning(nullptr));
    {
        InstanceLock mine(AppLockPath());
        ASSERT_EQ(InstanceLock::Acquired, mine.acquire());
        EXPECT_FALSE(vb.IsRunning(nullptr));
    }
    QProcess other;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PANELO2_TEST_LOCK"), AppLockPath());
    other.setProcessEnvironment(env);
    other.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=VBFormTest.DISABLED_OtherInstance"), QStringLiteral("--gtest_also_run_disabled_tests")});
    QByteArray said;
    while (!said.contains("held\n") && other.waitForReadyRead(15000))
        said += other.readAllStandardOutput();
    ASSERT_TRUE(said.contains("held\n")) << said.toStdString();
    EXPECT_TRUE(vb.IsRunning(nullptr));
    ASSERT_TRUE(other.waitForFinished(15000));
    said += other.readAllStandardOutput();
    EXPECT_TRUE(said.contains("\nknocked\n")) << said.toStdString();
    EXPECT_FALSE(vb.IsRunning(nullptr));   // it has ended
    SetAppPath(QString());
    SetAppExeName(QString());
}

} // namespace
