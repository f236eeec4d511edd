#include "ui/frmProgress.h"

#include "foundation/ErrLog.h"
#include "foundation/cBase.h"
#include "platform/gui/Colors.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Events.h"
#include "platform/gui/GuiSetup.h"
#include "platform/gui/Handler.h"
#include "platform/gui/Units.h"

#include <QGuiApplication>
#include <QScreen>

namespace {
const QString kModule = QStringLiteral("frmProgress");

QFont boldFont()
{
    QFont f(QString::fromUtf16(kFontPGothic));
    f.setPointSize(9);
    f.setBold(true);
    return f;
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

    auto* back = new Label(QString(), w);   // labBackStyle: the window's visible frame
    back->setGeometry(TwipsRect(0, 0, 6735, 1815));
    back->setFrameShape(QFrame::Box);
    back->setLineWidth(1);
    SetBackColor(back, 0xC0FFC0);
    SetForeColor(back, 0);

    bar1_ = new ProgressBar(w);
    bar1_->setGeometry(TwipsRect(120, 480, 6375, 375));
    bar2_ = new ProgressBar(w);
    bar2_->setGeometry(TwipsRect(120, 840, 6375, 375));

    nabi_ = new Label(QString(), w);
    nabi_->setFont(boldFont());
    nabi_->setGeometry(TwipsRect(120, 240, 1830, 180));
    SetBackStyle(nabi_, 0);
    nabi_->setAutoSize(true);
    nabi_->setText(QStringLiteral("しばらくお待ち下さい。"));

    count_ = new Label(QString(), w);
    count_->setFont(boldFont());
    count_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    count_->setGeometry(TwipsRect(6120, 240, 315, 180));
    SetBackStyle(count_, 0);
    count_->setAutoSize(true);
    count_->setText(QStringLiteral("0/0"));

    cancelButton_ = new LineButton(w, QStringLiteral("キャンセル"));
    cancelButton_->setFont(boldFont());
    cancelButton_->setGeometry(TwipsRect(5160, 1320, 1215, 375));
    cancelButton_->setLineColor(0xFF);   // its own red, not a role colour
    setCancelButton(cancelButton_);
    QObject::connect(cancelButton_, &LineButton::Click, w, [this] { lbutCancel_Click(); });

    for (QWidget* c : {static_cast<QWidget*>(back), static_cast<QWidget*>(bar1_.data()), static_cast<QWidget*>(bar2_.data()),
                       static_cast<QWidget*>(nabi_.data()), static_cast<QWidget*>(count_.data())})
        c->setFocusPolicy(Qt::NoFocus);

    if (QScreen* screen = QGuiApplication::primaryScreen())   // the centre of the screen
        w->move(screen->availableGeometry().center() - QPoint(w->width() / 2, w->height() / 2));
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
    try {
        savedFocus_ = owner.activeControl();
        hadFocus_ = savedFocus_ != nullptr;   // no control: nothing is given back at closing
        show();
        owner.setEnabled(false);
        DoEvents();
    } catch (const std::exception& e) {
        SetErrLog(DescribeError(e), kModule, QStringLiteral("OpenWin"));
    }
}

void frmProgress::CloseWin(Form& owner)
{
    try {
        owner.setEnabled(true);
        if (hadFocus_) {
            if (!savedFocus_)
                throw VbError(91, QStringLiteral("オブジェクト変数または With ブロック変数が設定されていません。"));
            SetForegroundWindow(savedFocus_->window());
            SetFocusOn(savedFocus_);
        }
    } catch (const std::exception& e) {
        SetErrLog(DescribeError(e), kModule, QStringLiteral("CloseWin"));
    }
    savedFocus_ = nullptr;
    hadFocus_ = false;
    unload();
}

ProgressBar* frmProgress::ProgressBar1()
{
    window();
    return bar1_;
}

ProgressBar* frmProgress::ProgressBar2()
{
    window();
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
    return count_;
}

LineButton* frmProgress::lbutCancel()
{
    window();
    return cancelButton_;
}

void frmProgress::setProProgress1MaxValue(int32_t max) { ProgressBar1()->setMax(float(max)); }
void frmProgress::setProProgress2MaxValue(int32_t max) { ProgressBar2()->setMax(float(max)); }

void frmProgress::UpdateProgress1(int32_t value)
{
    ProgressBar* bar = ProgressBar1();
    bar->setValueAndRepaint(float(value));
    const float max = bar->max();
    const float percent = float(value) / max * 100.0f;   // single precision, as the bar holds it
    const QString text = FormatNumber(double(percent), QStringLiteral("##0.0")) + QLatin1Char('%');
    if (text != count_->text()) {
        count_->setText(text);
        count_->repaint();
    }
}

void frmProgress::UpdateProgress2(int32_t value)
{
    ProgressBar2()->setValueAndRepaint(float(value));
}

void frmProgress::setStepText(const QString& text) { labNabi()->setText(text); }

void frmProgress::pumpEvents() { DoEvents(); }
