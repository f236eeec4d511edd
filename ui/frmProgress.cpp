#include "ui/frmProgress.h"

#include "foundation/cBase.h"
#include "platform/core/MsgBox.h"
#include "platform/gui/Colors.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Events.h"
#include "platform/gui/Handler.h"
#include "platform/gui/MsgBoxScreen.h"
#include "platform/gui/Units.h"
#include "ui/ControlFactory.h"
#include "ui/LoggedCall.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

namespace {
const QString kModule = QStringLiteral("frmProgress");
// Nobody sees more than the screen's refresh: at most about 30 frames a second.
constexpr qint64 kFrameMilliseconds = 33;

// What a bar accepts: a value from 0 to its maximum (ProgressBar refuses the same).
float barValue(int32_t value, float max)
{
    const float v = float(value);
    if (!(v >= 0.0f) || v > max)
        throw VbError::InvalidPropertyValue();
    return v;
}
}  // namespace

frmProgress::frmProgress() : Form(QStringLiteral("frmProgress")) {}

frmProgress& gProgress()
{
    static frmProgress* form = new frmProgress;   // lives as long as the program
    return *form;
}

void frmProgress::createControls(FormWindow* w)
{
    w->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    w->setWindowTitle(QStringLiteral("処理情報"));
    w->setFixedSize(Px(6750), Px(1830));

    auto* back = NewControl<Label>(w, "labBackStyle", TwipsRect(0, 0, 6735, 1815), QString());   // the visible frame
    back->setFrameShape(QFrame::Box);
    back->setLineWidth(1);
    SetBackColor(back, 0xC0FFC0);
    SetForeColor(back, 0);

    bar1_ = NewControl<ProgressBar>(w, "ProgressBar1", TwipsRect(120, 480, 6375, 375));
    bar2_ = NewControl<ProgressBar>(w, "ProgressBar2", TwipsRect(120, 840, 6375, 375));
    value1_ = bar1_->value();
    value2_ = bar2_->value();
    max1_ = bar1_->max();
    max2_ = bar2_->max();
    changed1_ = changed2_ = false;

    nabi_ = NewControl<Label>(w, "labNabi", TwipsRect(120, 240, 1830, 180), QString());
    nabi_->setFont(WindowFont(true));
    SetBackStyle(nabi_, 0);
    nabi_->setAutoSize(true);
    nabi_->setText(QStringLiteral("しばらくお待ち下さい。"));

    count_ = NewControl<Label>(w, "labProgCount", TwipsRect(6120, 240, 315, 180), QString());
    count_->setFont(WindowFont(true));
    count_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SetBackStyle(count_, 0);
    count_->setAutoSize(true);
    count_->setText(QStringLiteral("0/0"));

    cancelButton_ = NewLineButton(w, "lbutCancel", QStringLiteral("キャンセル"), TwipsRect(5160, 1320, 1215, 375));
    cancelButton_->setLineColor(0xFF);   // its own red, not a role colour
    setCancelButton(cancelButton_);
    QObject::connect(cancelButton_, &LineButton::Click, w, [this] { lbutCancel_Click(); });

    for (QWidget* c : {static_cast<QWidget*>(back), static_cast<QWidget*>(bar1_.data()), static_cast<QWidget*>(bar2_.data()),
                       static_cast<QWidget*>(nabi_.data()), static_cast<QWidget*>(count_.data())})
        c->setFocusPolicy(Qt::NoFocus);

    if (QScreen* screen = QGuiApplication::primaryScreen())   // the centre of the screen
        w->move(screen->availableGeometry().center() - QPoint(w->width() / 2, w->height() / 2));
}

// The first message box of a program loads its icon and the fonts of its text (some 25 ms); done
// once here, the stop question shows at once when Cancel is pressed.
void frmProgress::prepareStopQuestion()
{
    static bool prepared = false;
    if (!prepared)
        BuildMsgBox(QStringLiteral("計算を再開する場合はキャンセルボタンをクリックして下さい。"), vbYesNoCancel | vbQuestion,
                    QStringLiteral("計算中止"))
            ->ensurePolished();
    prepared = true;
}

// The window system's close request changes nothing: only Cancel speaks to the computation.
void frmProgress::Form_QueryUnload(int& cancel, int unloadMode)
{
    if (unloadMode == vbFormControlMenu)
        cancel = 1;
}

void frmProgress::lbutCancel_Click()
{
    cancel_ = true;
}

void frmProgress::OpenWin(Form& owner)
{
    cancel_ = false;
    RunLogged(kModule, "OpenWin", [&] {
        savedFocus_ = owner.activeControl();
        show();
        owner.setEnabled(false);
        DoEvents();
        prepareStopQuestion();
    });
}

void frmProgress::CloseWin(Form& owner)
{
    RunLogged(kModule, "CloseWin", [&] {
        owner.setEnabled(true);
        if (!savedFocus_)   // no control had the focus, or it has gone
            throw VbError(91);
        SetForegroundWindow(savedFocus_->window());
        SetFocusOn(savedFocus_);
    });
    savedFocus_ = nullptr;
    unload();
}

ProgressBar* frmProgress::ProgressBar1()
{
    window();
    applyRecorded();
    return bar1_;
}

ProgressBar* frmProgress::ProgressBar2()
{
    window();
    applyRecorded();
    return bar2_;
}

Label* frmProgress::labNabi()
{
    window();
    return nabi_;
}

Label* frmProgress::labProgCount()
{
    window();
    applyRecorded();
    return count_;
}

LineButton* frmProgress::lbutCancel()
{
    window();
    return cancelButton_;
}

// A new maximum applies to the values recorded before it as it would have to values shown.
void frmProgress::setProProgress1MaxValue(int32_t max)
{
    ProgressBar1()->setMax(float(max));
    max1_ = bar1_->max();
}

void frmProgress::setProProgress2MaxValue(int32_t max)
{
    ProgressBar2()->setMax(float(max));
    max2_ = bar2_->max();
}

void frmProgress::UpdateProgress1(int32_t value)
{
    if (!isLoaded())
        load();
    value1_ = barValue(value, max1_);
    changed1_ = true;
}

void frmProgress::UpdateProgress2(int32_t value)
{
    if (!isLoaded())
        load();
    value2_ = barValue(value, max2_);
    changed2_ = true;
}

void frmProgress::applyRecorded()
{
    if (changed1_) {
        changed1_ = false;
        bar1_->setValue(value1_);
        const float percent = value1_ / max1_ * 100.0f;   // single precision, as the bar holds it
        count_->setText(FormatNumber(double(percent), QStringLiteral("##0.0")) + QLatin1Char('%'));
    }
    if (changed2_) {
        changed2_ = false;
        bar2_->setValue(value2_);
    }
}

void frmProgress::DrawNow()
{
    applyRecorded();
    if (isVisible())
        window()->repaint();
    lastDraw_.start();
}

// The step that ends is drawn as it ended; the new text follows with the next events.
void frmProgress::setStepText(const QString& text)
{
    DrawNow();
    labNabi()->setText(text);
}

void frmProgress::pumpEvents()
{
    if ((changed1_ || changed2_) && (!lastDraw_.isValid() || lastDraw_.elapsed() >= kFrameMilliseconds)) {
        applyRecorded();   // painted by the events below
        lastDraw_.start();
    }
    DoEvents();
    if (cancel_)
        applyRecorded();   // the stop question's events paint it
}
