// Message boxes on screen: buttons, icon and default button by style; line breaks; the result.
#include "platform/core/AppInfo.h"
#include "platform/core/MsgBox.h"
#include "platform/gui/MsgBoxScreen.h"
#include "tests/platform_gui/GuiTestUtil.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

QStringList captions(const QMessageBox& box)
{
    QStringList out;
    for (QAbstractButton* b : box.buttons())
        out << b->text();
    return out;
}

TEST(MsgBoxScreenTest, ButtonsIconAndDefaultByStyle)
{
    const struct {
        int style;
        QStringList buttons;
        QMessageBox::Icon icon;
        const char16_t* defaultButton;
    } cases[] = {
        {0, {QStringLiteral("OK")}, QMessageBox::NoIcon, u"OK"},
        {16, {QStringLiteral("OK")}, QMessageBox::Critical, u"OK"},
        {48, {QStringLiteral("OK")}, QMessageBox::Warning, u"OK"},
        {64, {QStringLiteral("OK")}, QMessageBox::Information, u"OK"},
        {1, {QStringLiteral("OK"), QStringLiteral("キャンセル")}, QMessageBox::NoIcon, u"OK"},
        {35, {QStringLiteral("はい(&Y)"), QStringLiteral("いいえ(&N)"), QStringLiteral("キャンセル")}, QMessageBox::Question, u"はい(&Y)"},
        {292, {QStringLiteral("はい(&Y)"), QStringLiteral("いいえ(&N)")}, QMessageBox::Question, u"いいえ(&N)"},
        {324, {QStringLiteral("はい(&Y)"), QStringLiteral("いいえ(&N)")}, QMessageBox::Information, u"いいえ(&N)"},
        {3 + 512, {QStringLiteral("はい(&Y)"), QStringLiteral("いいえ(&N)"), QStringLiteral("キャンセル")}, QMessageBox::NoIcon, u"キャンセル"},
        {5 + 512, {QStringLiteral("再試行(&R)"), QStringLiteral("キャンセル")}, QMessageBox::NoIcon, u"キャンセル"},
    };
    for (const auto& c : cases) {
        auto box = BuildMsgBox(QStringLiteral("本文"), c.style, QStringLiteral("題"));
        QStringList shown = captions(*box);
        std::sort(shown.begin(), shown.end());
        QStringList wanted = c.buttons;
        std::sort(wanted.begin(), wanted.end());
        EXPECT_EQ(wanted, shown) << c.style;
        EXPECT_EQ(c.icon, box->icon()) << c.style;
        ASSERT_TRUE(box->defaultButton()) << c.style;
        EXPECT_EQ(QString::fromUtf16(c.defaultButton), box->defaultButton()->text()) << c.style;
    }
}

TEST(MsgBoxScreenTest, LineBreaksTitleAndResults)
{
    EXPECT_EQ(QStringLiteral("a\nb\nc\nd"), MsgBoxLines(QStringLiteral("a\r\nb\rc\nd")));
    auto box = BuildMsgBox(QStringLiteral("計算量が多すぎます。\r以下の条件を変更してください。"), 48, QString());
    EXPECT_EQ(QStringLiteral("計算量が多すぎます。\n以下の条件を変更してください。"), box->text());
    EXPECT_EQ(AppExeName(), box->windowTitle());   // no title: the program's name
    auto yesNoCancel = BuildMsgBox(QStringLiteral("x"), 3, QStringLiteral("t"));
    for (QAbstractButton* b : yesNoCancel->buttons()) {
        const int code = MsgBoxResultOf(*yesNoCancel, b);
        EXPECT_EQ(b->text().startsWith(QStringLiteral("はい")) ? vbYes : b->text().startsWith(QStringLiteral("いいえ")) ? vbNo : vbCancel, code);
    }
    EXPECT_EQ(vbCancel, MsgBoxResultOf(*yesNoCancel, nullptr));   // closed: Cancel

    box->resize(box->sizeHint());
    SaveScreenshot(box.get(), QStringLiteral("msgbox"));
}

// The title bar shows the whole title: besides the title, openbox's bar takes 104 pixels for the
// window icon and three buttons. A long text keeps the width it needs.
TEST(MsgBoxScreenTest, TheBoxIsAtLeastAsWideAsItsWholeTitle)
{
    QFont titleFont = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    titleFont.setBold(true);
    const struct {
        const char16_t *text, *title;
    } cases[] = {
        {u"切取順をチェックして下さい。", u"システム設定 - Panelo2"},
        {u"プリンタが見つかりません。", u"プリンタ設定 [新規] - Panelo2"},
        {u"帳票名が入力されていません。", u"入力エラー"},
        {u"リスト情報の取得中にエラーが発生しました。\r\n再計算してください。", u"lbutDetail_Click"},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text), title = QString::fromUtf16(c.title);
        auto box = BuildMsgBox(text, 48, title);
        box->show();
        EXPECT_GE(box->width(), QFontMetrics(titleFont).horizontalAdvance(title) + 104) << title.toStdString();
        for (const QString& line : MsgBoxLines(text).split(QLatin1Char('\n')))
            EXPECT_GE(box->width(), box->fontMetrics().horizontalAdvance(line)) << line.toStdString();
        if (title.startsWith(QStringLiteral("システム")))
            SaveScreenshot(box.get(), QStringLiteral("msgbox_long_title"));
        box->hide();
    }
}

TEST(MsgBoxScreenTest, TheInstalledHandlerShowsTheBoxAndReturnsTheChosenButton)
{
    InstallScreenMsgBox();
    QString seenText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        seenText = box->text();
        for (QAbstractButton* b : box->buttons())
            if (b->text().startsWith(QStringLiteral("いいえ")))
                b->click();
    });
    const int answer = MsgBox(QStringLiteral("ここまでの計算結果を表示しますか?"), 35, QStringLiteral("確認"));
    SetMsgBoxHandler(nullptr);
    EXPECT_EQ(vbNo, answer);
    EXPECT_EQ(QStringLiteral("ここまでの計算結果を表示しますか?"), seenText);
}

}  // namespace
