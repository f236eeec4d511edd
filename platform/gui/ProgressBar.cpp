#include "platform/gui/ProgressBar.h"

#include "platform/gui/Controls.h"
#include "platform/gui/Handler.h"

#include <QPainter>
#include <QStyleOptionProgressBar>

ProgressBar::ProgressBar(QWidget* parent) : QWidget(parent) { MarkControl(this, QStringLiteral("ProgressBar")); }

void ProgressBar::setValue(float value)
{
    if (!(value >= 0.0f) || value > max_)
        throw VbError::InvalidPropertyValue();
    value_ = value;
    update();
}

void ProgressBar::setMax(float max)
{
    if (!(max > 0.0f))
        throw VbError::InvalidPropertyValue();
    max_ = max;
    update();
}

double ProgressBar::fraction() const { return std::min(1.0, double(value_) / double(max_)); }

void ProgressBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QStyleOptionProgressBar opt;
    opt.initFrom(this);
    opt.minimum = 0;
    opt.maximum = 10000;
    opt.progress = int(fraction() * 10000.0 + 0.5);
    opt.textVisible = false;
    opt.state |= QStyle::State_Horizontal;
    style()->drawControl(QStyle::CE_ProgressBar, &opt, &p, this);
}
