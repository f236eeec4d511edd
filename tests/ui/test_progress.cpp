// The progress window: design state, texts and both bars, the percent text, the cancel flag,
// the owner gate while it shows, focus given back, and its failure paths.
#include "platform/gui/Handler.h"
#include "platform/gui/Units.h"
#include "tests/ui/UiTestUtil.h"
#include "ui/frmProgress.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// The main window stand-in: a text box and a button.
struct Owner : Form {
    Owner() : Form(QStringLiteral("frmTavo")) {}
    QPointer<QLineEdit> edit;
    QPointer<QPushButton> compute;
    int clicks = 0, queries = 0;
    void createControls(FormWindow* w) override
    {
        w->resize(500, 300);
        edit = new QLineEdit(w);
        edit->setGeometry(10, 10, 100, 24);
        compute = new QPushButton(QStringLiteral("計算"), w);
        compute->setGeometry(10, 50, 90, 26);
        QObject::connect(compute, &QPushButton::clicked, w, [this] { ++clicks; });
    }
    void Form_QueryUnload(int&, int) override { ++queries; }
};

class ProgressTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        owner.show();
        owner.edit->setFocus();
    }
    void TearDown() override
    {
        if (progress.isLoaded())
            progress.CloseWin(owner);
        UiTest::TearDown();
    }
    Owner owner;
    frmProgress progress;
};

TEST_F(ProgressTest, DesignStateAndTheWindowOverAGatedOwner)
{
    progress.OpenWin(owner);
    FormWindow* w = progress.loadedWindow();
    ASSERT_TRUE(w && w->isVisible());
    EXPECT_EQ(QSize(450, 122), w->size());
    EXPECT_TRUE(w->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(nullptr, w->parentWidget());              // no Qt parent: the owner's gate does not reach it
    EXPECT_EQ(QStringLiteral("処理情報"), w->windowTitle());
    EXPECT_EQ(QStringLiteral("しばらくお待ち下さい。"), progress.labNabi()->text());
    EXPECT_EQ(QStringLiteral("0/0"), progress.labProgCount()->text());
    EXPECT_EQ(100.0f, progress.ProgressBar1()->max());
    EXPECT_EQ(0.0f, progress.ProgressBar2()->value());
    EXPECT_EQ(0xFFu, progress.lbutCancel()->lineColor());
    EXPECT_EQ(QRect(344, 88, 81, 25), progress.lbutCancel()->geometry());
    EXPECT_FALSE(progress.proCancel());

    EXPECT_FALSE(owner.isEnabled());
    QTest::mouseClick(owner.compute, Qt::LeftButton);    // refused while the window shows
    owner.loadedWindow()->close();
    EXPECT_EQ(0, owner.clicks);
    EXPECT_EQ(0, owner.queries);
    EXPECT_TRUE(owner.isVisible());
    EXPECT_TRUE(owner.compute->isEnabled());             // nothing greyed

    progress.CloseWin(owner);
    EXPECT_FALSE(progress.isLoaded());
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_TRUE(owner.edit->hasFocus());                 // the focus comes back
    QTest::mouseClick(owner.compute, Qt::LeftButton);
    EXPECT_EQ(1, owner.clicks);
    EXPECT_TRUE(logLines().isEmpty());
}

TEST_F(ProgressTest, PercentTextOfTheFirstBar)
{
    progress.OpenWin(owner);
    const struct {
        int max, value;
        const char* text;
    } cases[] = {{100, 0, "0.0%"}, {7, 7, "100.0%"}, {7, 2, "28.6%"}, {3, 1, "33.3%"}, {16, 1, "6.3%"}, {4, 1, "25.0%"}};
    for (const auto& c : cases) {
        progress.setProProgress1MaxValue(c.max);
        progress.UpdateProgress1(c.value);
        EXPECT_EQ(QString::fromLatin1(c.text), progress.labProgCount()->text()) << c.value << "/" << c.max;
        EXPECT_EQ(float(c.value), progress.ProgressBar1()->value());
    }
    progress.setProProgress2MaxValue(12);
    progress.UpdateProgress2(5);
    EXPECT_EQ(5.0f, progress.ProgressBar2()->value());
    EXPECT_EQ(QStringLiteral("25.0%"), progress.labProgCount()->text());   // the second bar has no text

    // A maximum below the value is accepted (one to three layouts set exactly that).
    progress.setProProgress1MaxValue(100);
    progress.UpdateProgress1(60);
    progress.setProProgress1MaxValue(3);
    EXPECT_EQ(60.0f, progress.ProgressBar1()->value());
    progress.UpdateProgress1(2);
    EXPECT_EQ(QStringLiteral("66.7%"), progress.labProgCount()->text());
    // Refused values go to the caller.
    EXPECT_THROW(progress.UpdateProgress1(4), VbError);
    EXPECT_THROW(progress.UpdateProgress2(-1), VbError);
    EXPECT_THROW(progress.setProProgress1MaxValue(0), VbError);
}

TEST_F(ProgressTest, CancelByClickOrEscIsSeenOnlyThroughTheFlag)
{
    progress.OpenWin(owner);
    EngineProgress& engine = progress;
    Press(progress.lbutCancel());
    Press(progress.lbutCancel());   // twice: still one request
    EXPECT_TRUE(engine.cancel());
    EXPECT_TRUE(progress.isVisible());                  // the window stays
    engine.setCancel(false);                            // the caller goes on
    QTest::keyClick(progress.loadedWindow(), Qt::Key_Escape);
    EXPECT_TRUE(progress.proCancel());
    progress.loadedWindow()->close();                   // the window system's close changes nothing
    EXPECT_TRUE(progress.isVisible());
    progress.CloseWin(owner);
    EXPECT_TRUE(progress.proCancel());                  // kept after closing
    progress.OpenWin(owner);
    EXPECT_FALSE(progress.proCancel());                 // reset by the next opening
}

TEST_F(ProgressTest, StepTextsAndAFreshWindowEachOpening)
{
    progress.labNabi()->setText(QStringLiteral("入力データ登録中"));   // loads without showing
    EXPECT_TRUE(progress.isLoaded());
    EXPECT_FALSE(progress.isVisible());
    progress.OpenWin(owner);
    EXPECT_EQ(QStringLiteral("入力データ登録中"), progress.labNabi()->text());
    EngineProgress& engine = progress;
    engine.setStepText(QStringLiteral("計算中"));
    engine.setProgress1Max(4);
    engine.updateProgress1(3);
    EXPECT_EQ(QStringLiteral("75.0%"), progress.labProgCount()->text());
    // The label keeps its size to its text, the count its right edge.
    EXPECT_EQ(progress.labNabi()->sizeHint().width(), progress.labNabi()->width());
    EXPECT_EQ(Px(6435) - 1, progress.labProgCount()->geometry().right());
    progress.CloseWin(owner);
    progress.OpenWin(owner);
    EXPECT_EQ(QStringLiteral("しばらくお待ち下さい。"), progress.labNabi()->text());
    EXPECT_EQ(QStringLiteral("0/0"), progress.labProgCount()->text());
}

TEST_F(ProgressTest, AFocusControlDisabledMeanwhileLogsOneLineAndTheWindowClosesAllTheSame)
{
    progress.OpenWin(owner);
    owner.edit->setEnabled(false);
    progress.CloseWin(owner);
    EXPECT_FALSE(progress.isLoaded());
    EXPECT_TRUE(owner.isEnabled());
    const QStringList lines = logLines();
    ASSERT_EQ(1, lines.size());
    EXPECT_TRUE(lines[0].contains(QStringLiteral("frmProgress         ,CloseWin                      ,"))) << lines[0].toStdString();
}

TEST_F(ProgressTest, AnOwnerWithoutAFocusedControlIsGatedAndItsClosingLogsOneLine)
{
    owner.edit->clearFocus();
    ASSERT_EQ(nullptr, owner.activeControl());
    progress.OpenWin(owner);
    EXPECT_TRUE(progress.isVisible());
    EXPECT_FALSE(owner.isEnabled());
    progress.CloseWin(owner);
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_FALSE(progress.isLoaded());
    const QStringList lines = logLines();
    ASSERT_EQ(1, lines.size());
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("frmProgress         ,CloseWin                      ,"
                                                 "オブジェクト変数または With ブロック変数が設定されていません。")))
        << lines[0].toStdString();
}

// Counts the paintings of one control.
struct Paints : QObject {
    explicit Paints(QWidget* w) { w->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override
    {
        count += e->type() == QEvent::Paint;
        return false;
    }
    int count = 0;
};

TEST_F(ProgressTest, UpdatesAreRecordedAtOnceAndDrawnWithTheEventsOrAtAStepChange)
{
    progress.OpenWin(owner);
    EngineProgress& engine = progress;
    ProgressBar* bar1 = progress.ProgressBar1();   // the controls themselves, read without the accessors
    ProgressBar* bar2 = progress.ProgressBar2();
    Label* count = progress.labProgCount();
    Paints paints2(bar2);
    engine.setProgress1Max(8);
    engine.setProgress2Max(56);
    for (int layout = 1; layout <= 8; ++layout) {
        for (int piece = 0; piece <= 56; ++piece)
            engine.updateProgress2(piece);
        engine.updateProgress1(layout);
    }
    EXPECT_EQ(0, paints2.count);                   // nothing waits for the screen
    EXPECT_EQ(0.0f, bar2->value());
    EXPECT_EQ(QStringLiteral("0/0"), count->text());
    EXPECT_THROW(engine.updateProgress2(57), VbError);   // refused at once all the same
    EXPECT_THROW(engine.updateProgress1(-1), VbError);

    // The events bring the screen up to what was recorded.
    for (int i = 0; i < 2000 && bar2->value() != 56.0f; ++i) {
        QTest::qWait(1);
        engine.pumpEvents();
    }
    EXPECT_EQ(56.0f, bar2->value());
    EXPECT_EQ(8.0f, bar1->value());
    EXPECT_EQ(QStringLiteral("100.0%"), count->text());
    EXPECT_GE(paints2.count, 1);

    // A new step draws the state the last one ended in, at once.
    engine.setProgress1Max(4);
    engine.updateProgress1(3);
    engine.updateProgress2(9);
    const int before = paints2.count;
    engine.setStepText(QStringLiteral("計算中"));
    EXPECT_EQ(9.0f, bar2->value());
    EXPECT_EQ(QStringLiteral("75.0%"), count->text());
    EXPECT_EQ(before + 1, paints2.count);

    // Cancel pressed: the pump that sees it leaves the exact state for the stop question.
    engine.updateProgress2(10);
    QTest::mouseClick(progress.lbutCancel()->muButton(), Qt::LeftButton);
    engine.pumpEvents();
    EXPECT_TRUE(engine.cancel());
    EXPECT_EQ(10.0f, bar2->value());
}

TEST_F(ProgressTest, Screenshot)
{
    useShippedColours();
    progress.OpenWin(owner);
    progress.labNabi()->setText(QStringLiteral("計算中"));
    progress.setProProgress1MaxValue(7);
    progress.UpdateProgress1(2);
    progress.setProProgress2MaxValue(10);
    progress.UpdateProgress2(7);
    progress.DrawNow();
    const QImage img = SaveScreenshot(progress.loadedWindow(), QStringLiteral("progress"));
    EXPECT_EQ(qRgb(0xC0, 0xFF, 0xC0) & 0xFFFFFF, PixelAt(img, 200, 10));   // the light green panel
    EXPECT_EQ(qRgb(0, 0, 0) & 0xFFFFFF, PixelAt(img, 0, 60));              // its border
    progress.labNabi()->setText(QStringLiteral("リスト描画中"));
    progress.UpdateProgress1(7);
    progress.DrawNow();
    SaveScreenshot(progress.loadedWindow(), QStringLiteral("progress_done"));
}

}  // namespace
