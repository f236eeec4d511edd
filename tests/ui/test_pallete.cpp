// The colour palette: its 24 swatches, preselection, choice by mouse and keys, confirming and
// cancelling, the frames, the role colours of its buttons, and reading a swatch unshown.
#include "foundation/cReg.h"
#include "platform/gui/Colors.h"
#include "platform/gui/Handler.h"
#include "platform/gui/Units.h"
#include "tests/ui/UiTestUtil.h"
#include "ui/frmPallete.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

namespace {

class PalleteTest : public UiTest {
protected:
    // Shows the palette modally for colour c; the driver acts on it while it shows.
    void pick(uint32_t c, const std::function<void()>& act)
    {
        p.setColor(c);
        ScopedModalDriver driver([&](Form&) { act(); });
        p.showModal();
    }
    QWidget* focused() { return QApplication::focusWidget(); }
    int focusedSwatch()
    {
        for (int i = 0; i < 24; ++i)
            if (p.isLoaded() && p.col(i) == focused())
                return i;
        return -1;
    }
    void press(Qt::Key k) { QTest::keyClick(focused(), k); }
    uint32_t frame(int i) { return BackColor(p.labBack(i)); }
    frmPallete p;
};

TEST_F(PalleteTest, TwentyFourSwatchesInEightColumnsOfThree)
{
    const uint32_t expected[24] = {0xFFFFFF, 0x808080, 0x000000, 0xC0C0FF, 0x0000FF, 0x000080, 0xC0E0FF, 0x0080FF,
                                   0x004080, 0xC0FFFF, 0x00FFFF, 0x008080, 0xC0FFC0, 0x00FF00, 0x008000, 0xFFFFC0,
                                   0xFFFF00, 0x808000, 0xFFC0C0, 0xFF0000, 0xC00000, 0xFFC0FF, 0xFF00FF, 0x800080};
    for (int i = 0; i < 24; ++i) {
        EXPECT_EQ(expected[i], p.colBackColor(i)) << i;    // reading loads the window unshown
        EXPECT_EQ(TwipsRect(120 + 600 * (i / 3), 120 + 480 * (i % 3), 375, 255), p.col(i)->geometry()) << i;
        EXPECT_EQ(TwipsRect(600 * (i / 3), 480 * (i % 3), 615, 495), p.labBack(i)->geometry()) << i;
    }
    EXPECT_FALSE(p.isVisible());
    // The default colours of new rows come from fixed swatches.
    EXPECT_EQ(RGBColor(128, 0, 0), p.colBackColor(5));
    EXPECT_EQ(RGBColor(255, 0, 255), p.colBackColor(22));
    EXPECT_EQ(RGBColor(192, 255, 255), p.colBackColor(15));
    EXPECT_THROW(p.col(24), VbError);
    p.unload();
    EXPECT_EQ(QStringLiteral("選\u3000択"), p.lbutOK()->caption());
    EXPECT_EQ(QStringLiteral("色設定 - Panelo2"), p.caption());
    EXPECT_EQ(TwipsRect(960, 1560, 1290, 375), p.lbutOK()->geometry());
    EXPECT_EQ(TwipsRect(2520, 1560, 1290, 375), p.lbutCancel()->geometry());
}

TEST_F(PalleteTest, AColourOfTheTableSelectsItsSwatchAndOKConfirms)
{
    int seen = -1;
    uint32_t white = 0;
    pick(0x00FF00, [&] {
        seen = focusedSwatch();
        white = frame(13);
        Press(p.lbutOK());
    });
    EXPECT_EQ(13, seen);
    EXPECT_EQ(0xFFFFFFu, white);
    EXPECT_TRUE(p.State());
    EXPECT_EQ(0x00FF00u, p.Color());
    EXPECT_FALSE(p.isLoaded());                            // it unloads itself
}

TEST_F(PalleteTest, AColourOutsideTheTableFocusesNoSwatchAndIsKept)
{
    int seen = 0;
    pick(0x123456, [&] {
        seen = focusedSwatch();
        press(Qt::Key_Return);                             // on the OK button: it confirms
    });
    EXPECT_EQ(-1, seen);
    EXPECT_TRUE(p.State());
    EXPECT_EQ(0x123456u, p.Color());
}

TEST_F(PalleteTest, ArrowKeysWalkTheSwatchesWithWrapping)
{
    const struct {
        int from;
        Qt::Key key;
        int to;
    } cases[] = {{0, Qt::Key_Left, 23}, {23, Qt::Key_Right, 0}, {2, Qt::Key_Down, 3}, {3, Qt::Key_Up, 2},
                 {21, Qt::Key_Right, 1}, {4, Qt::Key_Right, 7}, {4, Qt::Key_Down, 5}, {22, Qt::Key_Up, 21}};
    for (const auto& c : cases) {
        int landed = -1;
        pick(frmPallete::kSwatchColors[size_t(c.from)], [&] {
            press(c.key);
            landed = focusedSwatch();
            press(Qt::Key_Escape);
        });
        EXPECT_EQ(c.to, landed) << c.from;
        EXPECT_EQ(c.to, p.selectionIndex()) << c.from;
        EXPECT_FALSE(p.State());
        EXPECT_EQ(frmPallete::kSwatchColors[size_t(c.to)], p.Color());   // the last selected colour
    }
}

TEST_F(PalleteTest, EscOnASwatchCancels)
{
    bool open = true;
    pick(0xFFFFFF, [&] {
        press(Qt::Key_Right);
        press(Qt::Key_Escape);
        open = p.isLoaded();
    });
    EXPECT_FALSE(open);
    EXPECT_FALSE(p.State());
}

TEST_F(PalleteTest, EnterOnASwatchConfirmsTheSelection)
{
    pick(0xFFFFFF, [&] {
        press(Qt::Key_Down);
        press(Qt::Key_Down);
        press(Qt::Key_Return);
    });
    EXPECT_TRUE(p.State());
    EXPECT_EQ(0x000000u, p.Color());
}

TEST_F(PalleteTest, MouseChoiceAndTheFrames)
{
    std::vector<uint32_t> frames;
    pick(0x0000FF, [&] {                                   // swatch 4 preselected
        QTest::mouseClick(p.col(9), Qt::LeftButton);
        frames = {frame(4), frame(9)};
        QTest::mouseClick(p.labBack(20), Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));   // the border around 20
        frames.push_back(frame(9));
        frames.push_back(frame(20));
        Press(p.lbutCancel());
    });
    // The focus moving off swatch 4 gives it the button face; a click leaves grey behind.
    EXPECT_EQ((std::vector<uint32_t>{kSysBtnFace, 0xFFFFFF, 0xC0C0C0, 0xFFFFFF}), frames);
    EXPECT_FALSE(p.State());
    EXPECT_EQ(frmPallete::kSwatchColors[20], p.Color());

    pick(0x0000FF, [&] { QTest::mouseDClick(p.col(16), Qt::LeftButton); });
    EXPECT_TRUE(p.State());
    EXPECT_EQ(0xFFFF00u, p.Color());
    pick(0x0000FF, [&] { QTest::mouseDClick(p.labBack(7), Qt::LeftButton, Qt::NoModifier, QPoint(2, 2)); });
    EXPECT_TRUE(p.State());
    EXPECT_EQ(0x0080FFu, p.Color());
}

TEST_F(PalleteTest, TheCloseBoxCancels)
{
    pick(0x0000FF, [&] { Press(p.lbutOK()); });
    ASSERT_TRUE(p.State());
    pick(0x0000FF, [&] { p.loadedWindow()->close(); });
    EXPECT_FALSE(p.State());
    EXPECT_FALSE(p.isLoaded());
}

TEST_F(PalleteTest, ButtonRolesAndScreenshot)
{
    useShippedColours();
    QImage shot;
    pick(0x008000, [&] {
        EXPECT_EQ(gApl().LineColor(kRoleExit), p.lbutCancel()->lineColor());
        EXPECT_EQ(gApl().LineColor(kRoleQuery), p.lbutOK()->lineColor());
        shot = SaveScreenshot(p.loadedWindow(), QStringLiteral("pallete"));
        Press(p.lbutCancel());
    });
    ASSERT_FALSE(shot.isNull());
    const QRect sw = p.col(14)->geometry();
    EXPECT_EQ(qRgb(0, 128, 0) & 0xFFFFFF, PixelAt(shot, sw.center().x(), sw.center().y()));
    EXPECT_EQ(0xFFFFFFu, PixelAt(shot, sw.left() - 4, sw.center().y()));   // its frame is white
    p.unload();
}

// The program's callers set the colour on its one palette, show it, and read the choice back from it.
TEST_F(PalleteTest, TheProgramsPaletteKeepsTheColourAndTheChoiceBetweenCalls)
{
    gPallete().setColor(frmPallete::kSwatchColors[4]);
    int preselected = -1;
    {
        ScopedModalDriver driver([&](Form&) {
            preselected = gPallete().selectionIndex();
            QTest::mouseDClick(gPallete().col(7), Qt::LeftButton);
        });
        gPallete().showModal();
    }
    EXPECT_EQ(4, preselected);
    EXPECT_TRUE(gPallete().State());
    EXPECT_EQ(frmPallete::kSwatchColors[7], gPallete().Color());
}

}  // namespace
