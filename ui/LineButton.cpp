#include "ui/LineButton.h"

#include "platform/gui/Colors.h"
#include "platform/gui/Keys.h"

#include <QEvent>
#include <QFontMetrics>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <algorithm>
#include <cmath>

namespace {
constexpr int kStripPixels = 4;   // line 0 is 4 pixels wide: the strip below the button

int channel(uint32_t c, int shift) { return int((c >> shift) & 0xFF); }
}  // namespace

LineButton::LineButton(QWidget* parent, const QString& caption) : QWidget(parent), button_(new QPushButton(caption, this))
{
    MarkControl(this, QStringLiteral("LineButton"));
    button_->setAutoDefault(false);
    button_->setDefault(false);
    button_->setFocusPolicy(Qt::StrongFocus);
    button_->installEventFilter(this);
    setFocusProxy(button_);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(button_, &QPushButton::clicked, this, [this] { emit Click(); });
    setBackColor(backColor_);
    colorLines();
    layoutParts();
}

// --- colour arithmetic ---

double LineButton::RangeCheck(double dat, double min, double max)
{
    if (dat < min)
        return min;
    if (dat > max)
        return max;
    return dat;
}

uint32_t LineButton::Bright(uint32_t col, int32_t vol)
{
    const uint32_t c = RealColor(col);
    auto ch = [&](int shift) { return uint32_t(RangeCheck(double(int64_t(channel(c, shift)) + vol), 0, 255)); };
    return ch(0) + 256 * ch(8) + 65536 * ch(16);
}

uint32_t LineButton::Contrast(uint32_t col, int32_t per)
{
    const uint32_t c = RealColor(col);
    auto ch = [&](int shift) {
        const double x = double(int64_t(channel(c, shift) - 128) * per) / 100.0 + 128.0;
        return uint32_t(std::nearbyint(RangeCheck(x, 0, 255)));   // halves to the even integer
    };
    return ch(0) + 256 * ch(8) + 65536 * ch(16);
}

void LineButton::colorLines()
{
    for (int i = 0; i < 14; ++i) {
        const int offset = int(std::lround((i - 14.0 / 3.0) * 20.0));
        lines_[size_t(i)].color = Bright(lineColor_, offset);
        lines_[size_t(i)].width = i == 0 ? 4 : 2;
    }
    update();
}

// --- properties ---

void LineButton::setAppearance(int value)
{
    appearance_ = value;
    button_->setFlat(value == 0);
}

void LineButton::setBackColor(uint32_t color)
{
    backColor_ = color;
    SetBackColor(button_, color);
}

QString LineButton::caption() const { return button_->text(); }
void LineButton::setCaption(const QString& caption) { button_->setText(caption); }

void LineButton::setLineColor(uint32_t color)
{
    lineColor_ = color;
    colorLines();
}

void LineButton::setPicture(const QPixmap& picture)
{
    picture_ = picture;
    QIcon icon(picture);
    if (!disabledPicture_.isNull())
        icon.addPixmap(disabledPicture_, QIcon::Disabled);
    button_->setIcon(icon);
    if (!picture.isNull())
        button_->setIconSize(picture.size());
}

void LineButton::setDisabledPicture(const QPixmap& picture)
{
    disabledPicture_ = picture;
    setPicture(picture_);
}

void LineButton::setMousePointer(int pointer)
{
    mousePointer_ = pointer;
    if (pointer == 11)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

void LineButton::setOleDropMode(int mode)
{
    if (mode == 2)
        return;
    oleDropMode_ = mode;
    setAcceptDrops(mode == 1);
}

// --- layout and drawing ---

// The smallest size: one blank wide, one blank high plus the strip.
QSize LineButton::minimumSizeHint() const
{
    const QFontMetrics fm(font());
    return QSize(std::max(1, fm.horizontalAdvance(QLatin1Char(' '))), fm.height() + kStripPixels);
}

QSize LineButton::sizeHint() const { return QSize(86, 25).expandedTo(minimumSizeHint()); }

int LineButton::stripTop() const { return std::max(0, height() - kStripPixels); }

QLine LineButton::underLine(int i) const
{
    const double w = width();
    return QLine(int(std::lround(i * w / 28.0)), stripTop(), int(std::lround(w - i * w / 28.0)), stripTop());
}

void LineButton::layoutParts()
{
    const QSize min = minimumSizeHint();
    setMinimumSize(min);   // a control smaller than the minimum grows to it
    button_->setGeometry(0, 0, std::max(width(), min.width()), std::max(height(), min.height()) - kStripPixels);
}

void LineButton::resizeEvent(QResizeEvent*) { layoutParts(); }

void LineButton::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::FontChange)
        layoutParts();
    QWidget::changeEvent(e);
}

void LineButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), ToQColor(kSysBtnFace));
    for (int i = 0; i < 14; ++i) {   // each line above the ones before it
        const QLine l = underLine(i);
        if (l.x2() > l.x1())
            p.fillRect(QRect(l.x1(), l.y1(), l.x2() - l.x1(), lines_[size_t(i)].width), ToQColor(lines_[size_t(i)].color));
    }
}

// --- events ---

void LineButton::accessKeyPress(int keyCode)
{
    if (isEnabled() && (keyCode == vbKeyReturn || keyCode == vbKeyEscape))
        emit Click();
}

int LineButton::mouseButton(const QMouseEvent* e) const
{
    const Qt::MouseButton b = e->button() != Qt::NoButton ? e->button() : Qt::MouseButton(int(e->buttons()) & 7);
    return b == Qt::LeftButton ? 1 : b == Qt::RightButton ? 2 : b == Qt::MiddleButton ? 4 : 0;
}

void LineButton::mousePressEvent(QMouseEvent* e)
{
    pressedOnStrip_ = e->button() == Qt::LeftButton;
    emit MouseDown(mouseButton(e), VbShiftState(e->modifiers()), float(e->position().x()), float(e->position().y()));
}

void LineButton::mouseReleaseEvent(QMouseEvent* e)
{
    emit MouseUp(mouseButton(e), VbShiftState(e->modifiers()), float(e->position().x()), float(e->position().y()));
    if (pressedOnStrip_ && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        emit Click();
    pressedOnStrip_ = false;
}

void LineButton::mouseMoveEvent(QMouseEvent* e)
{
    emit MouseMove(mouseButton(e), VbShiftState(e->modifiers()), float(e->position().x()), float(e->position().y()));
}

bool LineButton::eventFilter(QObject* watched, QEvent* e)
{
    if (watched != button_)
        return QWidget::eventFilter(watched, e);
    switch (e->type()) {
    case QEvent::FocusIn:
        emit GotFocus();
        break;
    case QEvent::FocusOut:
        emit LostFocus();
        break;
    case QEvent::KeyPress: {
        auto* k = static_cast<QKeyEvent*>(e);
        int code = VbKeyCode(k), shift = VbShiftState(k);
        if (code) {
            emit KeyDown(code, shift);
            if (code == 0)
                return true;
        }
        if (!k->text().isEmpty() && k->text()[0].isPrint()) {
            int ascii = k->text()[0].unicode();
            emit KeyPress(ascii);
            if (ascii == 0)
                return true;
        }
        if (code == vbKeyReturn && k->modifiers() == Qt::NoModifier) {   // Enter presses the focused button
            button_->click();
            return true;
        }
        break;
    }
    case QEvent::KeyRelease: {
        auto* k = static_cast<QKeyEvent*>(e);
        int code = VbKeyCode(k), shift = VbShiftState(k);
        if (code) {
            emit KeyUp(code, shift);
            if (code == 0)
                return true;
        }
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
        auto* m = static_cast<QMouseEvent*>(e);
        const QPointF p = m->position();
        if (e->type() == QEvent::MouseButtonPress)
            emit MouseDown(mouseButton(m), VbShiftState(m->modifiers()), float(p.x()), float(p.y()));
        else
            emit MouseUp(mouseButton(m), VbShiftState(m->modifiers()), float(p.x()), float(p.y()));
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, e);
}
