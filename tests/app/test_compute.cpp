// The compute road from the main window: input typed into the grids and the kerf panel, the
// progress window over the gated window, the patterns stored and listed; the stop question;
// the input check's messages with their grid focused.
#include "engine/Engine.h"
#include "platform/gui/ImNumber.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/ScriptedMsgBox.h"
#include "ui/frmProgress.h"

#include <QTimer>

namespace {

using ComputeTest = MainWindowTest;

TEST_F(ComputeTest, InputTypedIntoTheGridsIsComputedAndListed)
{
    ScriptedMsgBox boxes;
    enterRows(tavo().TDBBozai, {{"900", "1800", "2"}, {"600", "1200", "0"}});
    enterRows(tavo().TDBBuzai, {{"300", "450", "4"}, {"200", "600", "3"}, {"150", "150", "6"}});
    clickCell(tavo().TDBBuzai, 1, 6);                    // the second kind may be rotated
    QTest::mouseClick(tavo().numKirisiroWidth, Qt::LeftButton);
    QCoreApplication::processEvents();                   // the box selects its text on entry
    type(QStringLiteral("5"));
    key(Qt::Key_Return);

    bool gated = false, progressShown = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        progressShown = progressShown || gProgress().isVisible();
        gated = gated || !tavo().isEnabled();
    });
    probe.start(0);
    struct DetailWindow : Form {
        DetailWindow() : Form(QStringLiteral("frmDetail")) {}
        void createControls(FormWindow* w) override { w->resize(200, 100); }
    } detail;
    detail.show();
    QApplication::setActiveWindow(w);
    click(tavo().lbutCompute);
    probe.stop();
    EXPECT_FALSE(detail.isLoaded());                     // a computation closes the detail window

    EXPECT_TRUE(progressShown);
    EXPECT_TRUE(gated);
    EXPECT_FALSE(gProgress().isLoaded());
    EXPECT_TRUE(tavo().isEnabled());
    EXPECT_EQ(vbDefault, tavo().mousePointer());
    EXPECT_EQ(2, count(QStringLiteral("母材")));
    EXPECT_EQ(3, count(QStringLiteral("部材")));
    EXPECT_EQ(-1, lookup(QStringLiteral("部材"), QStringLiteral("回転"), QStringLiteral("部材番号=2")).intValue());
    EXPECT_EQ(5, gEngine().KerfWidth * gEngine().Unit);
    EXPECT_GT(count(QStringLiteral("パターン")), 0);
    EXPECT_GT(count(QStringLiteral("パターンリスト")), 0);
    EXPECT_TRUE(tavo().lbutDetail->isEnabled());
    SaveScreenshot(w, QStringLiteral("main_window_after_compute"));
}

// Five part kinds in every order of kinds (120 layout runs): enough to stop in the middle.
class StopQuestionTest : public MainWindowTest, public ::testing::WithParamInterface<int> {
protected:
    void prepare() override
    {
        sql(QStringLiteral(
            "INSERT INTO 母材 (母材番号,幅,長さ,数,色値) VALUES (1,900,1800,0,8421504);"
            "INSERT INTO 部材 (部材番号,幅,長さ,数,色値,回転) VALUES (1,300,450,3,255,0),(2,200,600,2,65280,0),"
            "(3,150,150,4,16711680,0),(4,100,700,2,65535,0),(5,250,250,2,16711935,0);"
            "UPDATE システム設定 SET 部材切取順序=1;"));
        // The events run after every piece, so the press lands mid-run however fast the run is.
        gEngine().SetPumpInterval(std::chrono::milliseconds(0));
    }
    void TearDown() override
    {
        gEngine().SetPumpInterval(kPumpInterval);
        MainWindowTest::TearDown();
    }
    // Presses the progress window's Cancel once the first layouts are stored.
    void cancelAfterFirstLayouts()
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (gProgress().isLoaded() && gProgress().ProgressBar1()->value() >= 1) {
                timer_.stop();
                click(gProgress().lbutCancel());
            }
        });
        timer_.start(0);
    }
    QTimer timer_;
};

TEST_P(StopQuestionTest, TheAnswerKeepsDiscardsOrResumes)
{
    const int answer = GetParam();
    ScriptedMsgBox boxes;
    boxes.expect(QStringLiteral("計算中止"), answer, QStringLiteral("ここまでの計算結果を表示しますか?"));
    cancelAfterFirstLayouts();
    click(tavo().lbutCompute);
    ASSERT_EQ(1u, boxes.shown().size());
    EXPECT_EQ(vbYesNoCancel | vbQuestion, boxes.shown()[0].style);
    const int runs = gEngine().CombinationCount;
    ASSERT_EQ(120, runs);
    const int stored = count(QStringLiteral("パターン"));
    const int listed = count(QStringLiteral("パターンリスト"));
    EXPECT_FALSE(gProgress().isLoaded());
    if (answer == vbYes) {            // the patterns so far, listed
        EXPECT_GT(stored, 0);
        EXPECT_LT(stored, runs);
        EXPECT_GT(listed, 0);
        EXPECT_TRUE(tavo().lbutDetail->isEnabled());
    } else if (answer == vbNo) {      // nothing kept, nothing listed
        EXPECT_EQ(0, stored);
        EXPECT_EQ(0, listed);
        EXPECT_FALSE(tavo().TDBList->hasRecordset() && tavo().TDBList->rowCount() > 0);
        EXPECT_FALSE(tavo().lbutDetail->isEnabled());
    } else {                          // the computation went on to its end
        EXPECT_EQ(runs, stored);
        EXPECT_GT(listed, 0);
        EXPECT_TRUE(tavo().lbutDetail->isEnabled());
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, StopQuestionTest, ::testing::Values(int(vbYes), int(vbNo), int(vbCancel)));

// Each failed check: its message, its grid focused on the row it names, no progress window.
struct CheckCase {
    const char* rows;       // statements on the working database
    const char* text;
    bool partGrid;          // the grid that gets the focus
    int row;                // its current row afterwards (-1: not looked at)
};

class InputCheckTest : public MainWindowTest, public ::testing::WithParamInterface<CheckCase> {
protected:
    void prepare() override { sql(QString::fromUtf8(GetParam().rows)); }
};

TEST_P(InputCheckTest, ShowsItsMessageWithTheGridFocused)
{
    const CheckCase& c = GetParam();
    ScriptedMsgBox boxes;
    const bool overflow = QString::fromUtf8(c.text) == kCalculationOverflowTitle;
    boxes.expect(overflow ? kCalculationOverflowTitle : QStringLiteral("入力エラー"), vbOK,
                 overflow ? QString() : QString::fromUtf8(c.text));
    click(tavo().lbutCompute);
    ASSERT_EQ(1u, boxes.shown().size());
    EXPECT_EQ(overflow ? vbCritical : vbExclamation, boxes.shown()[0].style);
    TDBGrid* grid = c.partGrid ? tavo().TDBBuzai : tavo().TDBBozai;
    EXPECT_EQ(grid, QApplication::focusWidget());
    if (c.row >= 0) {
        EXPECT_EQ(c.row, grid->row());
    }
    EXPECT_FALSE(gProgress().isLoaded());
    EXPECT_EQ(0, count(QStringLiteral("パターン")));
}

#define STOCK(v) "INSERT INTO 母材 (母材番号,幅,長さ,数,色値) VALUES " v ";"
#define PARTS(v) "INSERT INTO 部材 (部材番号,幅,長さ,数,色値,回転) VALUES " v ";"
INSTANTIATE_TEST_SUITE_P(
    Messages, InputCheckTest,
    ::testing::Values(
        CheckCase{PARTS("(1,300,450,4,255,0)"), "母材が入力されていません。", false, -1},
        CheckCase{STOCK("(1,900,1800,1,1),(2,1300,1200,1,1)") PARTS("(1,300,450,4,255,0)"), "幅が長さよりより大きいです。",
                  false, 1},
        CheckCase{STOCK("(1,900,1800,0,1),(2,600,1200,1,1)") PARTS("(1,300,450,4,255,0)"), "母材が正しく入力されていません。",
                  false, 0},
        CheckCase{STOCK("(1,1,2000,1,1)") PARTS("(1,1,450,4,255,0)"), "母材の縦横比を1000倍以内で入力して下さい。", false, 0},
        CheckCase{STOCK("(1,900,1800,1,1)"), "部材が入力されていません。", true, -1},
        CheckCase{STOCK("(1,900,1800,1,1)") PARTS("(1,300,450,4,255,0),(2,300,450,0,255,0)"), "部材が正しく入力されていません。",
                  true, 1},
        CheckCase{STOCK("(1,900,1800,1,1),(2,100,100,1,1)") PARTS("(1,300,450,4,255,0)"),
                  "全ての部材より小さい母材が入力されています。", true, -1},
        CheckCase{STOCK("(1,900,1800,1,1)") PARTS("(1,300,450,4,255,0),(2,1000,2000,1,255,0)"),
                  "全ての母材より大きい部材が入力されています。", false, -1},
        CheckCase{STOCK("(1,900,1800,0,1)") PARTS("(1,1,1,30000,255,0),(2,1,1,3000,255,0)"), "計算量オーバー", true, -1}));
#undef STOCK
#undef PARTS

}  // namespace
