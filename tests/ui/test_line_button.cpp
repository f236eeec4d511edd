// The line button: its colour ramp, layout, role colours from the registry, clicks by mouse
// and key, the disabled look and access keys.
#include "foundation/cReg.h"
#include "platform/gui/Colors.h"
#include "platform/gui/Form.h"
#include "platform/gui/Units.h"
#include "tests/ui/UiTestUtil.h"
#include "ui/LineButton.h"

#include <QPushButton>
#include <QTest>

namespace {

const ::testing::Environment* const kEnv = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

QFont captionFont()
{
    QFont f(QString::fromUtf16(kFontPGothic));
    f.setPointSize(9);
    f.setBold(true);
    return f;
}

TEST(LineButtonColourTest, RampOfTheLineColour)
{
    LineButton b;
    EXPECT_EQ(0xFFFF00u, b.lineColor());
    const uint32_t cyan[14] = {0xA2A200, 0xB6B600, 0xCACA00, 0xDEDE00, 0xF2F200, 0xFFFF07, 0xFFFF1B,
                               0xFFFF2F, 0xFFFF43, 0xFFFF57, 0xFFFF6B, 0xFFFF7F, 0xFFFF93, 0xFFFFA7};
    for (int i = 0; i < 14; ++i) {
        EXPECT_EQ(cyan[i], b.underLineColor(i)) << i;
        EXPECT_EQ(i == 0 ? 4 : 2, b.underLineWidth(i)) << i;
    }
    b.setLineColor(0xFF);
    EXPECT_EQ(0xA2u, b.underLineColor(0));
    EXPECT_EQ(0xA7A7FFu, b.underLineColor(13));
    b.setLineColor(0x8000000F);                       // a system colour is resolved first
    EXPECT_EQ(LineButton::Bright(0xF0F0F0, -93), b.underLineColor(0));
    EXPECT_EQ(0x939393u, b.underLineColor(0));
}

TEST(LineButtonColourTest, BrightContrastAndRangeCheck)
{
    EXPECT_EQ(0x0A0AFFu, LineButton::Bright(0xFF, 10));
    for (uint32_t c : {0x000000u, 0x123456u, 0xFFFFFFu, 0x80FF01u})
        EXPECT_EQ(c, LineButton::Contrast(c, 100));
    EXPECT_EQ(0x808080u, LineButton::Contrast(0x123456, 0));
    EXPECT_EQ(0x808080u, LineButton::Contrast(0x818181, 50));   // 128.5 rounds to the even 128
    EXPECT_EQ(0x808080u, LineButton::Contrast(0x7F7F7F, 50));   // 127.5 rounds to 128
    EXPECT_EQ(255, LineButton::RangeCheck(300, 0, 255));
    EXPECT_EQ(0, LineButton::RangeCheck(-5, 0, 255));
    EXPECT_EQ(7, LineButton::RangeCheck(7, 0, 255));
}

TEST(LineButtonLayoutTest, LinesShortenTowardsTheMiddleAndSmallButtonsGrow)
{
    QWidget host;
    LineButton b(&host, QStringLiteral("閉じる"));
    b.setFont(captionFont());
    b.setGeometry(TwipsRect(0, 0, 1290, 375));       // 86 x 25 pixels
    host.show();
    EXPECT_EQ(QRect(0, 0, 86, 21), b.muButton()->geometry());
    EXPECT_EQ(21, b.stripTop());
    EXPECT_EQ(QLine(0, 21, 86, 21), b.underLine(0));
    EXPECT_EQ(QLine(40, 21, 46, 21), b.underLine(13));   // the middle 2 x W / 28
    for (int i = 1; i < 14; ++i) {
        EXPECT_GT(b.underLine(i).x1(), b.underLine(i - 1).x1() - 1);
        EXPECT_LT(b.underLine(i).x2(), b.underLine(i - 1).x2() + 1);
    }
    b.resize(1, 1);                                   // narrower than a blank, lower than a blank + 4 pixels
    const QFontMetrics fm(b.font());
    EXPECT_EQ(fm.horizontalAdvance(QLatin1Char(' ')), b.width());
    EXPECT_EQ(fm.height() + 4, b.height());
}

TEST_F(UiTest, RoleColoursComeFromTheRegistryAndAreBlackWithoutIt)
{
    LineButton exit, detail;
    gApl().SetButLineColor(&exit, kRoleExit);
    EXPECT_EQ(0u, exit.lineColor());
    EXPECT_EQ(0u, exit.underLineColor(0));            // all dark: Bright(0, -93) is 0
    ReleaseApl();
    cReg().SetReg(cApl::kBaseKey + QStringLiteral("\\Color\\Line\\Exit"), QStringLiteral("255000000"));
    cReg().SetReg(cApl::kBaseKey + QStringLiteral("\\Color\\Line\\Detail"), QStringLiteral("000128255"));
    gApl().SetButLineColor(&exit, kRoleExit);
    gApl().SetButLineColor(&detail, kRoleDetail);
    EXPECT_EQ(0x0000FFu, exit.lineColor());
    EXPECT_EQ(0xA2u, exit.underLineColor(0));
    EXPECT_EQ(0xFF8000u, detail.lineColor());
}

// Two buttons on a window: one enabled, one disabled; renders them and clicks them.
class LineButtonWindow : public UiTest {
protected:
    struct W : Form {
        W() : Form(QStringLiteral("frmButtons")) {}
        QPointer<LineButton> on, off;
        void createControls(FormWindow* w) override
        {
            w->resize(Px(3000), Px(1000));
            on = new LineButton(w, QStringLiteral("計算実行"));
            on->setFont(captionFont());
            on->setGeometry(TwipsRect(120, 120, 1290, 375));
            off = new LineButton(w, QStringLiteral("詳細表示"));
            off->setFont(captionFont());
            off->setGeometry(TwipsRect(1560, 120, 1290, 375));
            off->setEnabled(false);
            gApl().SetButLineColor(on, kRoleNew);
            gApl().SetButLineColor(off, kRoleDetail);
        }
    } form;
    int onClicks = 0, offClicks = 0;
    void SetUp() override
    {
        UiTest::SetUp();
        useShippedColours();
        form.show();
        QObject::connect(form.on, &LineButton::Click, [this] { ++onClicks; });
        QObject::connect(form.off, &LineButton::Click, [this] { ++offClicks; });
    }
};

TEST_F(LineButtonWindow, ClickByMouseOnTheButtonAndOnTheStripAndByKey)
{
    QTest::mouseClick(form.on->muButton(), Qt::LeftButton);
    EXPECT_EQ(1, onClicks);
    QTest::mouseClick(form.on, Qt::LeftButton, Qt::NoModifier, QPoint(40, form.on->height() - 2));   // the strip
    EXPECT_EQ(2, onClicks);
    form.on->setFocus();
    EXPECT_TRUE(form.on->muButton()->hasFocus());
    QTest::keyClick(form.on->muButton(), Qt::Key_Space);
    QTest::keyClick(form.on->muButton(), Qt::Key_Return);
    EXPECT_EQ(4, onClicks);
    EXPECT_FALSE(form.on->muButton()->autoDefault());
    EXPECT_FALSE(form.on->muButton()->isDefault());

    QTest::mouseClick(form.off->muButton(), Qt::LeftButton);
    QTest::mouseClick(form.off, Qt::LeftButton, Qt::NoModifier, QPoint(40, form.off->height() - 2));
    form.off->accessKeyPress(27);
    EXPECT_EQ(0, offClicks);
    form.on->accessKeyPress(27);
    form.on->accessKeyPress(13);
    form.on->accessKeyPress(32);                      // only Enter and Esc are access keys
    EXPECT_EQ(6, onClicks);
}

TEST_F(LineButtonWindow, EscOnAWindowWhoseCancelButtonIsDisabledClicksNothing)
{
    form.setCancelButton(form.off);
    QTest::keyClick(form.loadedWindow(), Qt::Key_Escape);
    EXPECT_EQ(0, offClicks);
    form.setCancelButton(form.on);
    QTest::keyClick(form.loadedWindow(), Qt::Key_Escape);
    EXPECT_EQ(1, onClicks);
}

TEST_F(LineButtonWindow, EnabledAndDisabledLook)
{
    const QImage img = SaveScreenshot(form.loadedWindow(), QStringLiteral("line_buttons"));
    // The strip: dark at the ends, bright in the middle, in the role colours.
    const QPoint on = form.on->pos(), off = form.off->pos();
    const int stripBottom = form.on->height() - 1;
    EXPECT_EQ(QColor(ToQColor(form.on->underLineColor(0))).rgb() & 0xFFFFFF, PixelAt(img, on.x() + 1, on.y() + stripBottom));
    EXPECT_EQ(QColor(ToQColor(form.on->underLineColor(13))).rgb() & 0xFFFFFF,
              PixelAt(img, on.x() + form.on->width() / 2, on.y() + form.on->stripTop()));
    EXPECT_EQ(QColor(ToQColor(form.off->underLineColor(13))).rgb() & 0xFFFFFF,
              PixelAt(img, off.x() + form.off->width() / 2, off.y() + form.off->stripTop()));   // still coloured
    // The disabled caption is greyed: its darkest text pixel is lighter than the enabled one's.
    auto darkest = [&](QPoint at, const QSize& size) {
        int best = 255;
        for (int y = at.y() + 4; y < at.y() + size.height() - 6; ++y)
            for (int x = at.x() + 10; x < at.x() + size.width() - 10; ++x)
                best = std::min(best, qGray(img.pixel(x, y)));
        return best;
    };
    EXPECT_LT(darkest(on, form.on->size()), 60);
    EXPECT_GT(darkest(off, form.off->size()), 90);

    // A new colour shows at once.
    form.on->setLineColor(0x00FF00);
    const QImage again = Render(form.loadedWindow());
    EXPECT_EQ(QColor(ToQColor(LineButton::Bright(0x00FF00, 167))).rgb() & 0xFFFFFF,
              PixelAt(again, on.x() + form.on->width() / 2, on.y() + form.on->stripTop()));
}

TEST(LineButtonPropertyTest, OleDropModeTwoIsIgnored)
{
    LineButton b;
    b.setOleDropMode(1);
    b.setOleDropMode(2);
    EXPECT_EQ(1, b.oleDropMode());
    b.setCaption(QStringLiteral("保　存"));
    EXPECT_EQ(QStringLiteral("保　存"), b.muButton()->text());
    EXPECT_EQ(QStringLiteral("LineButton"), TypeName(&b));
}

}  // namespace
