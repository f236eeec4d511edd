#include "results/DetailSurface.h"

#include "platform/gui/Colors.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Keys.h"

#include <QMouseEvent>
#include <QPainter>

DetailSurface::DetailSurface(QWidget* parent) : QWidget(parent)
{
    MarkControl(this, QStringLiteral("PictureBox"));
    setAutoFillBackground(true);
}

void DetailSurface::setPicture(const QImage& picture)
{
    picture_ = picture;
    update();
}

void DetailSurface::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, picture_);
}

void DetailSurface::mousePressEvent(QMouseEvent* e)
{
    const int button = e->button() == Qt::LeftButton    ? 1
                       : e->button() == Qt::RightButton ? 2
                       : e->button() == Qt::MiddleButton ? 4
                                                         : 0;
    emit MouseDown(button, VbShiftState(e->modifiers()), float(e->position().x()), float(e->position().y()));
}

HatchMarker::HatchMarker(QWidget* parent) : QWidget(parent)
{
    MarkControl(this, QStringLiteral("Shape"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void HatchMarker::setBorderColor(uint32_t color)
{
    border_ = color;
    update();
}

void HatchMarker::setFillColor(uint32_t color)
{
    fill_ = color;
    update();
}

void HatchMarker::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QBrush(ToQColor(fill_), Qt::DiagCrossPattern));
    // The border on the outermost pixels, as a box includes both of its corners.
    const QColor border = ToQColor(border_);
    const QRect r = rect();
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), border);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), border);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), border);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), border);
}
