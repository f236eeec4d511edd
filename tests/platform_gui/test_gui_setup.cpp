// The look set up at start: style, palette from the system colour table, Japanese fonts; the
// colour and unit conventions of the forms run time.
#include "platform/gui/Colors.h"
#include "platform/gui/Units.h"
#include "tests/platform_gui/GuiTestUtil.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QRawFont>
#include <QStyle>

namespace {

const ::testing::Environment* const kEnv = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

TEST(GuiSetupTest, FusionStyleAndFixedPalette)
{
    EXPECT_EQ(QStringLiteral("fusion"), QApplication::style()->name().toLower());
    const QPalette p = QApplication::palette();
    EXPECT_EQ(QColor(0xF0, 0xF0, 0xF0), p.color(QPalette::Window));
    EXPECT_EQ(QColor(Qt::white), p.color(QPalette::Base));
    EXPECT_EQ(QColor(Qt::black), p.color(QPalette::WindowText));
}

TEST(GuiSetupTest, WindowFontsResolveToJapaneseFaces)
{
    const struct {
        const char16_t* family;
        const char* expected;
    } cases[] = {{kFontPGothic, "IPAPGothic"}, {kFontGothic, "IPAGothic"}};
    const QString sample = QStringLiteral("しばらくお待ち下さい。処理情報キャンセル色設定選　択ﾃﾞｰﾀﾍﾞｰｽ①");
    for (const auto& c : cases) {
        QFont f(QString::fromUtf16(c.family));
        f.setPointSize(9);
        EXPECT_EQ(QString::fromLatin1(c.expected), QFontInfo(f).family()) << QString::fromUtf16(c.family).toStdString();
        const QRawFont raw = QRawFont::fromFont(f);
        for (QChar ch : sample)
            EXPECT_TRUE(raw.supportsCharacter(ch)) << QString(ch).toStdString();
        // 9 points at 96 dots per inch: 12 pixels, as the original's 180 twips.
        EXPECT_EQ(12, QFontInfo(f).pixelSize());
    }
    EXPECT_EQ(QString::fromUtf16(kFontPGothic), QApplication::font().family());
    EXPECT_EQ(9, QApplication::font().pointSize());
}

TEST(ColorsTest, PlainAndSystemColours)
{
    EXPECT_EQ(0x0000FFu, RGBColor(255, 0, 0));
    EXPECT_EQ(0x123456u, RealColor(0x123456));
    EXPECT_EQ(0xF0F0F0u, RealColor(kSysBtnFace));
    EXPECT_EQ(0xFFFFFFu, RealColor(kSysWindow));
    EXPECT_EQ(0u, RealColor(kSysWindowText));
    EXPECT_EQ(0xFF9933u, RealColor(0x8000000D));   // highlight: R 0x33 G 0x99 B 0xFF
    EXPECT_EQ(QColor(0xFF, 0x80, 0x00), ToQColor(0x0080FF));
    EXPECT_EQ(0x0080FFu, FromQColor(QColor(0xFF, 0x80, 0x00)));
    EXPECT_EQ(0u, SysColor(99));
}

TEST(ColorsTest, ControlColoursKeepTheValueGivenAndShowTheResolvedOne)
{
    QLabel label(QStringLiteral("見出し"));
    label.resize(60, 20);
    EXPECT_EQ(kSysBtnFace, BackColor(&label));
    SetBackColor(&label, 0x80000005);
    SetForeColor(&label, 0x0000FF);
    EXPECT_EQ(0x80000005u, BackColor(&label));
    EXPECT_EQ(0x0000FFu, ForeColor(&label));
    const QImage img = Render(&label);
    EXPECT_EQ(0xFFFFFFu, PixelAt(img, 1, 1));
}

TEST(UnitsTest, FifteenTwipsAPixel)
{
    EXPECT_EQ(86, Px(1290));
    EXPECT_EQ(25, Px(375));
    EXPECT_EQ(QRect(8, 32, 425, 25), TwipsRect(120, 480, 6375, 375));
    EXPECT_EQ(4050.0, Twips(270));
}

}  // namespace
