#include "printing/fDlgPrint.h"

#include "platform/gui/GuiSetup.h"
#include "platform/gui/Units.h"
#include "ui/ControlFactory.h"
#include "ui/LineButton.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QLabel>
#include <QStyle>
#include <cmath>

namespace {

struct ButtonKind {
    int32_t bit;
    const char16_t* caption;
    int32_t code;
    uint32_t lineColor;
};
constexpr std::array<ButtonKind, 3> kButtons = {{
    {4, u"プレビュー", 4, 0x00FF00},
    {2, u"印\u3000刷", 2, 0x0080FF},
    {1, u"キャンセル", 1, 0x0000FF},
}};

// The dialog's own font, in which every text is measured.
QFont dialogFont()
{
    QFont f(QString::fromUtf16(kFontGothic));
    f.setPointSizeF(11.25);
    return f;
}

double textWidth(const QString& text) { return Twips(QFontMetricsF(dialogFont()).horizontalAdvance(text)); }
double textHeight() { return Twips(QFontMetricsF(dialogFont()).height()); }

void place(QWidget* w, double left, double top, double width, double height)
{
    w->setGeometry(Px(left), Px(top), Px(width), Px(height));
}

}  // namespace

fDlgPrint::fDlgPrint()
    : Form(QStringLiteral("fDlgPrint")), m_Margin(int16_t(8 * kTwipsPerPixel)), m_MaxWidth(600 * kTwipsPerPixel)
{
}

void fDlgPrint::createControls(FormWindow* w)
{
    // Sized for its texts by DialogShow, which also places every control.
    SetDialogFrame(w, QStringLiteral("Title"), QSize(320, 120), dialogFont());

    ImgMark = NewControl<QLabel>(w, "ImgMark", QRect());
    ImgMark->setPixmap(QApplication::style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    QFont labelFont(QString::fromUtf16(kFontPGothic));   // its size the window's
    labelFont.setBold(true);
    lblPrompt = NewControl<QLabel>(w, "lblPrompt", QRect());
    lblSubPrompt = NewControl<QLabel>(w, "lblSubPrompt", QRect());
    for (QLabel* l : {lblPrompt.data(), lblSubPrompt.data()}) {
        l->setFont(labelFont);
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    for (int i = 0; i < 3; ++i) {
        LineButton* b = NewMember<LineButton>(w, "cmdButton", i, QRect());
        b->setFont(labelFont);
        b->hide();
        cmdButton[size_t(i)] = b;
        connect(b, &LineButton::Click, w, [this, i] { cmdButton_Click(i); });
    }
    setKeyPreview(true);
    connect(this, &Form::KeyDown, w, [this](int& code, int& shift) { Form_KeyDown(code, shift); });
}

int32_t fDlgPrint::DialogShow()
{
    FormWindow* w = window();
    m_ButtonCount = 0;
    m_FrameWidth = int32_t(Twips(w->frameGeometry().width() - w->width()));
    m_FrameHeight = int32_t(Twips(w->frameGeometry().height() - w->height()));
    double dialogWidth = Twips(w->width()) + m_FrameWidth;
    if (!DialogTitle.isEmpty())
        w->setWindowTitle(DialogTitle);

    const double icon = 32.0 * kTwipsPerPixel;
    place(ImgMark, m_Margin, m_Margin, icon, icon);

    const double fontSize = dialogFont().pointSizeF();
    struct Text {
        double width = 0, height = 0;
    };
    const auto setUp = [&](QLabel* label, const QString& text, bool bold) {
        Text t;
        if (text.isEmpty()) {
            label->clear();
            label->hide();
            return t;
        }
        QFont f = label->font();
        f.setBold(bold || f.bold());
        f.setPointSizeF(fontSize);
        label->setFont(f);
        t.width = textWidth(text + QLatin1Char(' '));
        t.height = textHeight();
        label->setText(text);
        label->show();
        return t;
    };
    Text prompt = setUp(lblPrompt, DialogPrompt, true);
    Text sub = setUp(lblSubPrompt, DialogSubPrompt, false);

    for (const ButtonKind& k : kButtons) {
        if (!(DialogStyle & k.bit))
            continue;
        LineButton* b = cmdButton[size_t(m_ButtonCount)];
        b->setEnabled(true);
        b->show();
        b->setCaption(QString::fromUtf16(k.caption));
        m_ReturnCode[size_t(m_ButtonCount)] = k.code;
        b->setLineColor(k.lineColor);
        ++m_ButtonCount;
    }
    const double bw = textWidth(QStringLiteral("プレビュー"));
    const double buttonWidth = bw + bw / 3;
    const double buttonHeight = 2 * textHeight();
    for (int i = 0; i < m_ButtonCount; ++i) {
        QFont f = cmdButton[size_t(i)]->font();
        f.setPointSizeF(fontSize);
        cmdButton[size_t(i)]->setFont(f);
    }

    // Wrapping: a prompt wider than the widest dialog takes the room left and more lines.
    const double promptNeed = 3 * m_Margin + icon + prompt.width + m_FrameWidth;
    if (promptNeed > m_MaxWidth) {
        const double room = m_MaxWidth - (3 * m_Margin + icon + m_FrameWidth);
        const double lines = std::nearbyint(std::nearbyint(promptNeed) / room);
        prompt.width = room;
        prompt.height *= lines;
        dialogWidth = 3 * m_Margin + icon + prompt.width + m_FrameWidth;
    }
    if (2 * m_Margin + sub.width > m_MaxWidth) {
        const double need = std::nearbyint(2 * m_Margin + sub.width + m_FrameWidth);
        const double room = m_MaxWidth - (2 * m_Margin + m_FrameWidth);
        sub.width = room;
        sub.height *= std::nearbyint(need / room);
        dialogWidth = 2 * m_Margin + sub.width + m_FrameWidth;
    }
    if (dialogWidth < m_MaxWidth) {
        const double a = 3 * m_Margin + icon + prompt.width + m_FrameWidth;
        const double b = buttonWidth * m_ButtonCount + 2 * m_Margin + m_FrameWidth;
        dialogWidth = b < a ? a : b;
    }
    const double innerWidth = dialogWidth - m_FrameWidth;

    // Places.
    const double promptLeft = 2 * m_Margin + icon;
    double promptTop, topRow;
    if (prompt.height <= icon) {
        promptTop = m_Margin + (icon - prompt.height) / 2;
        topRow = icon;
    } else {
        promptTop = m_Margin;
        topRow = prompt.height;
    }
    place(lblPrompt, promptLeft, promptTop, prompt.width, prompt.height);
    place(lblSubPrompt, (innerWidth - sub.width) / 2, 2 * m_Margin + topRow, sub.width, sub.height);
    const double buttonTop = 3 * m_Margin + topRow + sub.height;
    if (m_ButtonCount >= 1) {
        const double left = (dialogWidth - m_ButtonCount * buttonWidth) / 2;
        for (int i = 0; i < m_ButtonCount; ++i)
            place(cmdButton[size_t(i)], left + i * buttonWidth, buttonTop, buttonWidth, buttonHeight);
    }
    const double dialogHeight = 4 * m_Margin + topRow + sub.height + buttonHeight + m_FrameHeight;
    w->setFixedSize(Px(innerWidth), Px(dialogHeight - m_FrameHeight));

    showModal();
    return m_Result;
}

void fDlgPrint::Form_Activate()
{
    if (m_ButtonCount > 0)
        cmdButton[0]->setFocus(Qt::OtherFocusReason);
    if ((DialogStyle & 0x100) && m_ButtonCount >= 2)
        cmdButton[1]->setFocus(Qt::OtherFocusReason);
    if ((DialogStyle & 0x200) && m_ButtonCount >= 3)
        cmdButton[2]->setFocus(Qt::OtherFocusReason);
}

void fDlgPrint::Form_KeyDown(int& keyCode, int&)
{
    if (keyCode != 27)
        return;
    keyCode = 0;
    m_Result = 1;
    unload(vbFormCode);
}

void fDlgPrint::Form_QueryUnload(int&, int unloadMode)
{
    if (unloadMode != vbFormCode)
        m_Result = 1;
}

void fDlgPrint::cmdButton_Click(int index)
{
    m_Result = m_ReturnCode[size_t(index)];
    unload(vbFormCode);
}
