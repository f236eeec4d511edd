#include "ui/frmPallete.h"

#include "foundation/ErrLog.h"
#include "foundation/cApl.h"
#include "platform/gui/Colors.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Handler.h"
#include "platform/gui/Keys.h"
#include "platform/gui/Units.h"
#include "ui/ControlFactory.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

const std::array<uint32_t, 24> frmPallete::kSwatchColors = {
    0xFFFFFF, 0x808080, 0x000000, 0xC0C0FF, 0x0000FF, 0x000080, 0xC0E0FF, 0x0080FF,
    0x004080, 0xC0FFFF, 0x00FFFF, 0x008080, 0xC0FFC0, 0x00FF00, 0x008000, 0xFFFFC0,
    0xFFFF00, 0x808000, 0xFFC0C0, 0xFF0000, 0xC00000, 0xFFC0FF, 0xFF00FF, 0x800080};

namespace {

const QString kModule = QStringLiteral("frmPallete");
constexpr uint32_t kFrameSelected = 0xFFFFFF;
constexpr uint32_t kFrameClicked = 0xC0C0C0;

// A coloured box that takes the focus and reports clicks, double clicks and keys.
class Swatch : public QWidget {
public:
    explicit Swatch(QWidget* parent) : QWidget(parent) { setFocusPolicy(Qt::StrongFocus); }
    std::function<void()> gotFocus, clicked, doubleClicked;
    std::function<void(int&, int&)> keyDown;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), ToQColor(BackColor(this)));
        p.setPen(QColor(0x80, 0x80, 0x80));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    void focusInEvent(QFocusEvent*) override
    {
        if (gotFocus)
            gotFocus();
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        pressed_ = e->button() == Qt::LeftButton;
        if (pressed_ && focusPolicy() != Qt::NoFocus && !hasFocus())
            setFocus(Qt::MouseFocusReason);
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (pressed_ && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && clicked)
            clicked();
        pressed_ = false;
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton && doubleClicked)
            doubleClicked();
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        int code = VbKeyCode(e), shift = VbShiftState(e);
        if (code && keyDown) {
            keyDown(code, shift);
            if (code == 0)
                return;
        }
        QWidget::keyPressEvent(e);   // passed on: Tab moves on, Esc reaches the window's cancel button
    }

private:
    bool pressed_ = false;
};

// The frame behind a swatch: a label that reports clicks and double clicks.
class FrameLabel : public QLabel {
public:
    explicit FrameLabel(QWidget* parent) : QLabel(parent) {}
    std::function<void()> clicked, doubleClicked;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && clicked)
            clicked();
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton && doubleClicked)
            doubleClicked();
    }
};

}  // namespace

frmPallete::frmPallete() : HandledForm(QStringLiteral("frmPallete")) {}

frmPallete& gPallete()
{
    static frmPallete* form = new frmPallete;   // lives as long as the program
    return *form;
}

void frmPallete::createControls(FormWindow* w)
{
    SetDialogFrame(w, QStringLiteral("色設定"), QSize(Px(4830), Px(2070)), std::nullopt);   // the application's font
    ok_ = NewLineButton(w, "lbutOK", QStringLiteral("選\u3000択"), TwipsRect(960, 1560, 1290, 375));
    cancel_ = NewLineButton(w, "lbutCancel", QStringLiteral("キャンセル"), TwipsRect(2520, 1560, 1290, 375));
    setCancelButton(cancel_);   // Esc cancels
    QObject::connect(ok_, &LineButton::Click, w, [this] { handle("lbutOK_Click", [this] { lbutOK_Click(); }); });
    QObject::connect(cancel_, &LineButton::Click, w, [this] { handle("lbutCancel_Click", [this] { lbutCancel_Click(); }); });

    for (int i = 0; i < 24; ++i) {
        const int column = i / 3, row = i % 3;
        auto* frame = NewMember<FrameLabel>(w, "labBack", i, TwipsRect(600 * column, 480 * row, 615, 495));
        SetBackColor(frame, kSysBtnFace);
        frame->clicked = [this, i] { handle("labBack_Click", [this, i] { labBack_Click(i); }); };
        frame->doubleClicked = [this, i] { handle("labBack_DblClick", [this, i] { labBack_DblClick(i); }); };
        frames_[size_t(i)] = frame;
    }
    QWidget* previous = cancel_;
    QWidget::setTabOrder(ok_, cancel_);
    for (int i = 0; i < 24; ++i) {
        const int column = i / 3, row = i % 3;
        auto* swatch = NewMember<Swatch>(w, "col", i, TwipsRect(120 + 600 * column, 120 + 480 * row, 375, 255));
        SetBackColor(swatch, kSwatchColors[size_t(i)]);
        swatch->gotFocus = [this, i] { handle("col_GotFocus", [this, i] { col_GotFocus(i); }); };
        swatch->clicked = [this, i] { handle("col_Click", [this, i] { col_Click(i); }); };
        swatch->doubleClicked = [this, i] { handle("col_DblClick", [this, i] { col_DblClick(i); }); };
        swatch->keyDown = [this, i](int& code, int& shift) {
            handle("col_KeyDown", [&, i] { col_KeyDown(i, code, shift); });
        };
        swatches_[size_t(i)] = swatch;
        QWidget::setTabOrder(previous, swatch);
        previous = swatch;
    }
}

void frmPallete::Form_Load()
{
    handle("Form_Load", [this] {
        selection_ = 0;
        gApl().SetButLineColor(cancel_, kRoleExit);
        gApl().SetButLineColor(ok_, kRoleQuery);
        setCaption(caption() + QStringLiteral(" - ") + QStringLiteral("Panelo2"));
    });
}

void frmPallete::Form_Activate()
{
    handle("Form_Activate", [this] {
        for (int i = 0; i < 24; ++i)
            if (BackColor(swatches_[size_t(i)]) == color_) {
                SetFocusOn(swatches_[size_t(i)]);
                return;
            }
    });
}

// The close box cancels like the cancel button.
void frmPallete::Form_QueryUnload(int&, int unloadMode)
{
    if (unloadMode == vbFormControlMenu)
        state_ = false;
}

void frmPallete::select(int index, uint32_t previousFrameColor)
{
    SetBackColor(frames_[size_t(selection_)], previousFrameColor);
    SetBackColor(frames_[size_t(index)], kFrameSelected);
    selection_ = int16_t(index);
    color_ = BackColor(swatches_[size_t(index)]);
}

void frmPallete::col_GotFocus(int index) { select(index, kSysBtnFace); }
void frmPallete::col_Click(int index) { select(index, kFrameClicked); }
void frmPallete::labBack_Click(int index) { select(index, kFrameClicked); }

void frmPallete::col_DblClick(int index)
{
    color_ = BackColor(swatches_[size_t(index)]);
    state_ = true;
    unload();
}

void frmPallete::labBack_DblClick(int index) { col_DblClick(index); }

void frmPallete::lbutOK_Click()
{
    state_ = true;
    unload();
}

void frmPallete::lbutCancel_Click()
{
    state_ = false;
    unload();
}

void frmPallete::col_KeyDown(int, int& keyCode, int&)
{
    int c = selection_ / 3, r = selection_ % 3;   // from the selection, not from the swatch with the key
    switch (keyCode) {
    case vbKeyReturn:
        lbutOK_Click();
        return;
    case vbKeyLeft:
        if (--c < 0)
            --r;
        break;
    case vbKeyUp:
        if (--r < 0)
            --c;
        break;
    case vbKeyRight:
        if (++c > 7)
            ++r;
        break;
    case vbKeyDown:
        if (++r > 2)
            ++c;
        break;
    default:
        return;
    }
    r = r < 0 ? 2 : r > 2 ? 0 : r;
    c = c < 0 ? 7 : c > 7 ? 0 : c;
    SetFocusOn(swatches_[size_t(c * 3 + r)]);
}

QWidget* frmPallete::col(int index)
{
    if (index < 0 || index > 23)
        throw VbError::SubscriptOutOfRange();
    window();
    return swatches_[size_t(index)];
}

uint32_t frmPallete::colBackColor(int index) { return BackColor(col(index)); }

QLabel* frmPallete::labBack(int index)
{
    if (index < 0 || index > 23)
        throw VbError::SubscriptOutOfRange();
    window();
    return frames_[size_t(index)];
}

LineButton* frmPallete::lbutOK()
{
    window();
    return ok_;
}

LineButton* frmPallete::lbutCancel()
{
    window();
    return cancel_;
}
