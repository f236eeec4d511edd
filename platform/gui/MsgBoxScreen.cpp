#include "platform/gui/MsgBoxScreen.h"

#include "platform/core/AppInfo.h"
#include "platform/core/MsgBox.h"
#include "platform/gui/TitleBar.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QVariant>

namespace {

struct ButtonDef {
    int code;
    const char16_t* caption;
    QMessageBox::ButtonRole role;
};
const ButtonDef kOK{vbOK, u"OK", QMessageBox::AcceptRole};
const ButtonDef kCancel{vbCancel, u"キャンセル", QMessageBox::RejectRole};
const ButtonDef kAbort{vbAbort, u"中止(&A)", QMessageBox::RejectRole};
const ButtonDef kRetry{vbRetry, u"再試行(&R)", QMessageBox::AcceptRole};
const ButtonDef kIgnore{vbIgnore, u"無視(&I)", QMessageBox::AcceptRole};
const ButtonDef kYes{vbYes, u"はい(&Y)", QMessageBox::YesRole};
const ButtonDef kNo{vbNo, u"いいえ(&N)", QMessageBox::NoRole};

std::vector<ButtonDef> buttonsOf(int style)
{
    switch (style & 7) {
    case vbOKCancel: return {kOK, kCancel};
    case vbAbortRetryIgnore: return {kAbort, kRetry, kIgnore};
    case vbYesNoCancel: return {kYes, kNo, kCancel};
    case vbYesNo: return {kYes, kNo};
    case vbRetryCancel: return {kRetry, kCancel};
    default: return {kOK};
    }
}

QMessageBox::Icon iconOf(int style)
{
    switch (style & 0x70) {
    case vbCritical: return QMessageBox::Critical;
    case vbQuestion: return QMessageBox::Question;
    case vbExclamation: return QMessageBox::Warning;
    case vbInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// The box is at least as wide as its title bar needs for the whole title: an invisible item of
// that width in the box's layout (the box sizes itself to its layout when it is shown).
void fitTitle(QMessageBox& box)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    const QMargins m = grid->contentsMargins();
    const int width = TitleBarWidth(box.windowTitle()) - m.left() - m.right();
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), 0, 0, 1, grid->columnCount());
}

}  // namespace

QString MsgBoxLines(const QString& text)
{
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

std::unique_ptr<QMessageBox> BuildMsgBox(const QString& text, int style, const QString& title)
{
    auto box = std::make_unique<QMessageBox>(QApplication::activeWindow());
    box->setWindowTitle(title.isEmpty() ? AppExeName() : title);
    box->setTextFormat(Qt::PlainText);
    box->setText(MsgBoxLines(text));
    box->setIcon(iconOf(style));
    const std::vector<ButtonDef> defs = buttonsOf(style);
    const int defaultIndex = std::min<int>((style >> 8) & 3, int(defs.size()) - 1);
    for (size_t i = 0; i < defs.size(); ++i) {
        QPushButton* b = box->addButton(QString::fromUtf16(defs[i].caption), defs[i].role);
        b->setProperty("vbResult", defs[i].code);
        if (int(i) == defaultIndex)
            box->setDefaultButton(b);
        if (defs[i].code == vbCancel || defs.size() == 1)
            box->setEscapeButton(b);   // Esc and the close box answer Cancel (or the only button)
    }
    fitTitle(*box);
    return box;
}

int MsgBoxResultOf(const QMessageBox& box, const QAbstractButton* clicked)
{
    if (clicked)
        return clicked->property("vbResult").toInt();
    const QAbstractButton* escape = box.escapeButton();
    return escape ? escape->property("vbResult").toInt() : vbCancel;
}

void InstallScreenMsgBox()
{
    SetMsgBoxHandler([](const QString& text, int style, const QString& title) {
        std::unique_ptr<QMessageBox> box = BuildMsgBox(text, style, title);
        box->exec();
        return MsgBoxResultOf(*box, box->clickedButton());
    });
}
