#include "platform/gui/Colors.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QVariant>
#include <QWidget>

namespace {

// Edit-like controls colour their text area; the others their surface.
bool isEditLike(const QWidget* w)
{
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractItemView*>(w) ||
           qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QTextEdit*>(w);
}

}  // namespace

QColor ToQColor(uint32_t color)
{
    const uint32_t c = RealColor(color);
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

uint32_t FromQColor(const QColor& color) { return RGBColor(color.red(), color.green(), color.blue()); }

void SetBackColor(QWidget* w, uint32_t color)
{
    w->setProperty("vbBackColor", QVariant::fromValue(uint(color)));
    QPalette p = w->palette();
    if (isEditLike(w)) {
        p.setColor(QPalette::Base, ToQColor(color));
    } else if (qobject_cast<QPushButton*>(w)) {
        p.setColor(QPalette::Button, ToQColor(color));
    } else {
        p.setColor(QPalette::Window, ToQColor(color));
        p.setColor(QPalette::Button, ToQColor(color));
        // An opaque surface unless the control was made transparent (BackStyle 0).
        const QVariant style = w->property("vbBackStyle");
        w->setAutoFillBackground(!style.isValid() || style.toInt() != 0);
    }
    w->setPalette(p);
}

uint32_t BackColor(const QWidget* w)
{
    const QVariant v = w->property("vbBackColor");
    if (v.isValid())
        return v.toUInt();
    return isEditLike(w) ? kSysWindow : kSysBtnFace;
}

void SetForeColor(QWidget* w, uint32_t color)
{
    w->setProperty("vbForeColor", QVariant::fromValue(uint(color)));
    QPalette p = w->palette();
    p.setColor(QPalette::Text, ToQColor(color));
    p.setColor(QPalette::WindowText, ToQColor(color));
    p.setColor(QPalette::ButtonText, ToQColor(color));
    w->setPalette(p);
}

uint32_t ForeColor(const QWidget* w)
{
    const QVariant v = w->property("vbForeColor");
    if (v.isValid())
        return v.toUInt();
    return qobject_cast<const QPushButton*>(w) ? 0x80000012u : kSysWindowText;
}
