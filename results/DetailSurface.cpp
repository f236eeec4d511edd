#include "results/DetailSurface.h"

#include "platform/gui/Colors.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Keys.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int k3DHighlight = 20, k3DDkShadow = 21;   // system colour indices

// The client of the surface: the picture at its corner over the surface's back colour.
class SurfaceClient : public QWidget {
public:
    SurfaceClient(QWidget* parent, const QImage& picture) : QWidget(parent), picture_(picture)
    {
        setAutoFillBackground(true);
        setAttribute(Qt::WA_TransparentForMouseEvents);   // clicks are the surface's
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.drawImage(0, 0, picture_);
    }

private:
    const QImage& picture_;
};

}  // namespace

DetailSurface::DetailSurface(QWidget* parent) : QWidget(parent), client_(new SurfaceClient(this, picture_))
{
    MarkControl(this, QStringLiteral("PictureBox"));
    setAutoFillBackground(true);
    client_->move(kBorder, kBorder);
}

void DetailSurface::setPicture(const QImage& picture)
{
    picture_ = picture;
    client_->update();
}

void DetailSurface::resizeEvent(QResizeEvent*)
{
    client_->resize(std::max(0, width() - 2 * kBorder), std::max(0, height() - 2 * kBorder));
}

void DetailSurface::paintEvent(QPaintEvent*)
{
    // A sunken edge: shadow over highlight outside, dark shadow over light inside.
    QPainter p(this);
    const QRect r = rect();
    auto edge = [&](const QRect& e, int topLeft, int bottomRight) {
        const QColor tl = ToQColor(SysColor(topLeft)), br = ToQColor(SysColor(bottomRight));
        p.fillRect(QRect(e.left(), e.top(), e.width(), 1), tl);
        p.fillRect(QRect(e.left(), e.top(), 1, e.height()), tl);
        p.fillRect(QRect(e.left(), e.bottom(), e.width(), 1), br);
        p.fillRect(QRect(e.right(), e.top() + 1, 1, e.height() - 1), br);
    };
    edge(r, kColorBtnShadow, k3DHighlight);
    edge(r.adjusted(1, 1, -1, -1), k3DDkShadow, kColor3DLight);
}

void DetailSurface::mousePressEvent(QMouseEvent* e)
{
    const int button = e->button() == Qt::LeftButton    ? 1
                       : e->button() == Qt::RightButton ? 2
                       : e->button() == Qt::MiddleButton ? 4
                                                         : 0;
    emit MouseDown(button, VbShiftState(e->modifiers()), float(e->position().x() - kBorder),
                   float(e->position().y() - kBorder));
}

namespace {
QWidget* drawingArea(QWidget* parent)
{
    auto* surface = qobject_cast<DetailSurface*>(parent);
    return surface ? surface->client() : parent;
}
}  // namespace

HatchMarker::HatchMarker(QWidget* parent) : QWidget(drawingArea(parent))
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
