#include "platform/gui/Label.h"

Label::Label(const QString& text, QWidget* parent) : QLabel(text, parent) {}

void Label::setText(const QString& text)
{
    QLabel::setText(text);
    fit();
}

void Label::setAutoSize(bool on)
{
    autoSize_ = on;
    fit();
}

void Label::fit()
{
    if (!autoSize_)
        return;
    const QSize size = sizeHint();
    if (alignment() & Qt::AlignRight)
        setGeometry(geometry().right() + 1 - size.width(), y(), size.width(), size.height());
    else
        resize(size);
}
