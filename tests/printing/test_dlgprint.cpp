// The print confirmation dialog: buttons by style, the focus, the codes it returns, its layout.
#include "printing/fDlgPrint.h"
#include "tests/printing/PrintingTestSupport.h"

#include <QLabel>

namespace {

struct Shown {
    QStringList captions;
    std::vector<uint32_t> colours;
    std::vector<QRect> buttons;
    QString focused;
    QString title;
    QSize inner;
    QRect icon, prompt;
};

// Shows a dialog; the action runs while it is shown and may close it.
int32_t ShowDialog(int32_t style, const QString& prompt, Shown* shown, const std::function<void(fDlgPrint&)>& action,
                   const QString& screenshot = QString())
{
    fDlgPrint dialog;
    dialog.setDialogTitle(QStringLiteral("画面印刷 印刷確認"));
    dialog.setDialogPrompt(prompt);
    dialog.setDialogStyle(style);
    ScopedModalDriver driver([&](Form& f) {
        auto& d = static_cast<fDlgPrint&>(f);
        if (shown) {
            for (int i = 0; i < d.buttonCount(); ++i) {
                shown->captions << d.cmdButton[size_t(i)]->caption();
                shown->colours.push_back(d.cmdButton[size_t(i)]->lineColor());
                shown->buttons.push_back(d.cmdButton[size_t(i)]->geometry());
            }
            QWidget* focus = d.loadedWindow()->focusWidget();
            for (int i = 0; i < 3; ++i)
                if (focus && (focus == d.cmdButton[size_t(i)] || d.cmdButton[size_t(i)]->isAncestorOf(focus)))
                    shown->focused = d.cmdButton[size_t(i)]->caption();
            shown->title = d.loadedWindow()->windowTitle();
            shown->inner = d.loadedWindow()->size();
            shown->icon = d.ImgMark->geometry();
            shown->prompt = d.lblPrompt->geometry();
        }
        if (!screenshot.isEmpty())
            SaveScreenshot(d.loadedWindow(), screenshot);
        action(d);
    });
    return dialog.DialogShow();
}

class DlgPrintTest : public PrintingTest {};

const QString kPrompt = QStringLiteral("「画面印刷」を印刷します。");
const QString kPreview = QStringLiteral("プレビュー"), kPrint = QStringLiteral("印\u3000刷"),
              kCancel = QStringLiteral("キャンセル");

}  // namespace

TEST_F(DlgPrintTest, StylesChooseButtonsInOrderWithFixedColoursCentred)
{
    struct Case {
        int32_t style;
        QStringList captions;
    };
    const Case cases[] = {
        {7, {kPreview, kPrint, kCancel}}, {3, {kPrint, kCancel}}, {5, {kPreview, kCancel}},
        {15, {kPreview, kPrint, kCancel}}, {63, {kPreview, kPrint, kCancel}},
    };
    const std::map<QString, uint32_t> colour = {{kPreview, 0x00FF00}, {kPrint, 0x0080FF}, {kCancel, 0x0000FF}};
    for (const Case& c : cases) {
        Shown shown;
        ShowDialog(c.style, kPrompt, &shown, [](fDlgPrint& d) { d.unload(); },
                   QStringLiteral("fDlgPrint_style%1").arg(c.style));
        EXPECT_EQ(c.captions, shown.captions) << c.style;
        for (int i = 0; i < shown.captions.size(); ++i)
            EXPECT_EQ(colour.at(shown.captions[i]), shown.colours[size_t(i)]);
        // One size, touching, the row centred in the window.
        const int n = int(shown.buttons.size());
        const int width = shown.buttons.front().width();
        for (int i = 1; i < n; ++i)
            EXPECT_EQ(shown.buttons[size_t(i - 1)].right() + 1, shown.buttons[size_t(i)].left());
        EXPECT_NEAR((shown.inner.width() - n * width) / 2.0, shown.buttons.front().left(), 1.0) << c.style;
        EXPECT_EQ(QStringLiteral("画面印刷 印刷確認"), shown.title);
    }
}

TEST_F(DlgPrintTest, FocusStartsOnTheButtonTheStyleNames)
{
    const std::pair<int32_t, QString> cases[] = {
        {0x007, kPreview}, {0x107, kPrint}, {0x307, kCancel}, {0x207, kCancel}, {0x203, kPrint},
    };
    for (const auto& [style, focused] : cases) {
        Shown shown;
        ShowDialog(style, kPrompt, &shown, [](fDlgPrint& d) { d.unload(); });
        EXPECT_EQ(focused, shown.focused) << std::hex << style;
    }
}

TEST_F(DlgPrintTest, ReturnsTheCodeOfTheButtonAndOneForEscAndTheCloseBox)
{
    const int32_t codes[] = {4, 2, 1};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(codes[i], ShowDialog(7, kPrompt, nullptr, [i](fDlgPrint& d) { Click(d.cmdButton[size_t(i)]); }));
    EXPECT_EQ(1, ShowDialog(7, kPrompt, nullptr, [](fDlgPrint& d) {
        QTest::keyClick(d.loadedWindow()->focusWidget(), Qt::Key_Escape);
    }));
    EXPECT_EQ(1, ShowDialog(7, kPrompt, nullptr, [](fDlgPrint& d) { d.loadedWindow()->close(); }));
    // No button at all: Esc and the close box still close it.
    Shown none;
    EXPECT_EQ(1, ShowDialog(0x100, kPrompt, &none, [](fDlgPrint& d) {
        QTest::keyClick(d.loadedWindow(), Qt::Key_Escape);
    }));
    EXPECT_TRUE(none.captions.isEmpty());
    EXPECT_EQ(1, ShowDialog(0, kPrompt, nullptr, [](fDlgPrint& d) { d.loadedWindow()->close(); }));
}

TEST_F(DlgPrintTest, ShortPromptCentresOnTheIconAndTheButtonsKeepMargins)
{
    Shown shown;
    ShowDialog(7, kPrompt, &shown, [](fDlgPrint& d) { d.unload(); });
    const int margin = 8;
    EXPECT_EQ(QRect(margin, margin, 32, 32), shown.icon);
    EXPECT_NEAR(shown.icon.center().y(), shown.prompt.center().y(), 1.0);
    EXPECT_EQ(2 * margin + 32, shown.prompt.left());
    // Two margins below the top row, one margin below the buttons to the window's bottom.
    EXPECT_EQ(shown.icon.bottom() + 1 + 2 * margin, shown.buttons.front().top());
    EXPECT_EQ(shown.buttons.front().bottom() + 1 + margin, shown.inner.height());
}

TEST_F(DlgPrintTest, LongPromptWrapsToTheWidestDialog)
{
    const QString prompt = QStringLiteral("「") + QString(QStringLiteral("非常に長い帳票名")).repeated(10) +
                           QStringLiteral("」を印刷します。");
    Shown shown;
    ShowDialog(7, prompt, &shown, [](fDlgPrint& d) { d.unload(); }, QStringLiteral("fDlgPrint_wrapped"));
    EXPECT_EQ(600, shown.inner.width());
    EXPECT_EQ(600 - 8 - (2 * 8 + 32), shown.prompt.width());
    EXPECT_GT(shown.prompt.height(), 32);
    EXPECT_EQ(shown.prompt.bottom() + 1 + 2 * 8, shown.buttons.front().top());
}
