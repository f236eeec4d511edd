#include "foundation/gui/cVBForm.h"

#include "platform/core/AppInfo.h"
#include "platform/core/InstanceLock.h"
#include "platform/gui/Controls.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace {

constexpr double kTw = kTwipsPerPixel;
const char kCloseGuardName[] = "cVBForm_CloseGuard";

// Refuses the closing that comes from the window system (the user); close() of the program
// still goes through.
class CloseGuard : public QObject {
public:
    explicit CloseGuard(QObject* parent) : QObject(parent) { setObjectName(QLatin1String(kCloseGuardName)); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Close && event->spontaneous()) {
            event->ignore();
            return true;
        }
        return false;
    }
};

// Form geometry in twips, frame included.
double Left(const QWidget* w) { return w->frameGeometry().x() * kTw; }
double Top(const QWidget* w) { return w->frameGeometry().y() * kTw; }
double Width(const QWidget* w) { return w->frameGeometry().width() * kTw; }
double Height(const QWidget* w) { return w->frameGeometry().height() * kTw; }
int Px(double twips) { return int(std::lround(twips / kTw)); }
void SetLeft(QWidget* w, double twips) { w->move(Px(twips), w->frameGeometry().y()); }
void SetTop(QWidget* w, double twips) { w->move(w->frameGeometry().x(), Px(twips)); }
void SetWidth(QWidget* w, double twips)
{
    w->resize(Px(twips) - (w->frameGeometry().width() - w->width()), w->height());
}
void SetHeight(QWidget* w, double twips)
{
    w->resize(w->width(), Px(twips) - (w->frameGeometry().height() - w->height()));
}

bool IsLoaded(const QWidget* w)
{
    switch (w->windowType()) {
    case Qt::Popup:
    case Qt::ToolTip:
    case Qt::Desktop:
        return false;
    default:
        return !w->isHidden() || !w->testAttribute(Qt::WA_WState_ExplicitShowHide);
    }
}

} // namespace

QList<QWidget*> LoadedForms()
{
    QList<QWidget*> forms;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (IsLoaded(w))
            forms.append(w);
    }
    return forms;
}

QList<QWidget*> FormControls(QWidget* form)
{
    QList<QWidget*> controls;
    if (!form)
        return controls;
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (w->window() == form && !w->objectName().startsWith(QLatin1String("qt_")))
            controls.append(w);
    }
    return controls;
}

QPointF ScreenCenterTwips(const QRect& workArea, double widthTwips, double heightTwips)
{
    const float tw = kTwipsPerPixel;
    const float left = (tw * float(workArea.right() + 1 - workArea.left()) - float(widthTwips)) / 2.0f;
    const float top = (tw * float(workArea.bottom() + 1 - workArea.top()) - float(heightTwips)) / 2.0f;
    return QPointF(left, top);
}

cVBForm::cVBForm() : ControlGap(kTwipsPerPixel * 10) {}

cVBForm& gVBForm()
{
    static cVBForm form;
    return form;
}

void cVBForm::TopMost(bool on, QWidget* form)
{
    const QPoint position = form->pos();
    const QSize size = form->size();
    const bool noActivate = form->testAttribute(Qt::WA_ShowWithoutActivating);
    form->setWindowFlag(Qt::WindowStaysOnTopHint, on);     // hides the window
    form->setAttribute(Qt::WA_ShowWithoutActivating, true);
    form->show();
    form->setAttribute(Qt::WA_ShowWithoutActivating, noActivate);
    form->move(position);
    form->resize(size);
}

void cVBForm::TitleBar(QWidget* form, bool show, const QString& caption)
{
    form->setWindowTitle(!show ? QString() : caption.isEmpty() ? form->objectName() : caption);
}

void cVBForm::Maximize(QWidget* form)
{
    TitleBar(form, false, QString());
    form->setWindowState((form->windowState() & ~(Qt::WindowMinimized | Qt::WindowFullScreen)) | Qt::WindowMaximized);
}

void cVBForm::Normalize(QWidget* form, const QString& caption)
{
    TitleBar(form, true, caption);
    form->setWindowState(form->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

void cVBForm::ResizeKeepXYRatio(QWidget* form, int32_t x, int32_t y)
{
    if (x == 0 || form->isMaximized() || resizing_)
        return;
    resizing_ = true;
    SetHeight(form, (Width(form) - SystemBorderWidth(form)) * y / x + SystemBorderHeight(form));
    resizing_ = false;
}

int16_t cVBForm::SystemBorderWidth(QWidget* form) const
{
    return int16_t(std::lround(Width(form) - form->width() * kTw));
}

int16_t cVBForm::SystemBorderHeight(QWidget* form) const
{
    return int16_t(std::lround(Height(form) - form->height() * kTw));
}

float cVBForm::PixelPx(QWidget* form) const
{
    return form->isMaximized() ? 0.0f : float(Left(form) / kTw);
}

float cVBForm::PixelPy(QWidget* form) const
{
    return form->isMaximized() ? 0.0f : float(Top(form) / kTw);
}

float cVBForm::PixelSx(QWidget* form) const
{
    if (form->isMaximized())
        return float(form->screen()->geometry().height() * kTw * 4 / 3 / kTw);
    return float(Width(form) / kTw);
}

float cVBForm::PixelSy(QWidget* form) const
{
    if (form->isMaximized())
        return float(form->screen()->geometry().height());
    return float(Height(form) / kTw);
}

void cVBForm::EnableCloseButton(bool enable, QWidget*& window)
{
    if (!window)
        window = QApplication::activeWindow();
    if (!window)
        return;
    QObject* guard = window->findChild<QObject*>(QLatin1String(kCloseGuardName), Qt::FindDirectChildrenOnly);
    Qt::WindowFlags flags = window->windowFlags();
    if (enable) {
        delete guard;
        flags |= Qt::WindowCloseButtonHint;
    } else {
        if (!guard)
            window->installEventFilter(new CloseGuard(window));
        if (!(flags & Qt::CustomizeWindowHint))
            flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                | Qt::WindowMinMaxButtonsHint;
        flags &= ~Qt::WindowCloseButtonHint;
    }
    if (flags != window->windowFlags()) {
        const bool visible = window->isVisible();
        const QPoint position = window->pos();
        const QSize size = window->size();
        window->setWindowFlags(flags);                     // hides the window
        if (visible)
            window->show();
        window->move(position);
        window->resize(size);
    }
}

void cVBForm::EnableAllButtons(QWidget* form, bool enable)
{
    const QList<QWidget*> controls = FormControls(form);
    if (!enable)
        savedEnabled_.assign(size_t(controls.size()), true);
    for (qsizetype i = 0; i < controls.size(); ++i) {
        QWidget* c = controls[i];
        if (enable) {
            c->setEnabled(size_t(i) < savedEnabled_.size() ? savedEnabled_[size_t(i)] : true);
        } else {
            savedEnabled_[size_t(i)] = !c->testAttribute(Qt::WA_ForceDisabled);
            c->setEnabled(false);
        }
    }
    EnableCloseButton(enable, form);
}

bool cVBForm::IsRunning(QWidget*)
{
    // Another process holds this program folder's instance lock: it is asked to come to the front.
    return !InstanceLock::isHeldHere(AppLockPath()) && KnockOnHolder(AppLockPath());
}

void cVBForm::ActiveAlreadyhWnd() { IsRunning(nullptr); }

void cVBForm::CopyFormGeometry(QWidget* source, QWidget* target)
{
    target->setWindowState(source->windowState());
    SetWidth(target, Width(source));
    SetHeight(target, Height(source));
    SetLeft(target, Left(source));
    SetTop(target, Top(source));
}

void cVBForm::UnloadAllForm()
{
    QList<QPointer<QWidget>> forms;
    for (QWidget* w : LoadedForms())
        forms.append(w);
    for (const QPointer<QWidget>& w : forms) {
        if (w && IsLoaded(w) && w->close() && w)
            w->hide();                     // a form closed before it was shown is unloaded too
    }
}

bool cVBForm::IsFormLoad(const QString& name, bool byName) const
{
    for (QWidget* w : LoadedForms()) {
        if ((byName ? w->objectName() : w->windowTitle()) == name)
            return true;
    }
    return false;
}

int16_t cVBForm::CountLoadForm() const
{
    return int16_t(LoadedForms().size());
}

int32_t cVBForm::VisibleFormCount() const
{
    int32_t count = 0;
    for (QWidget* w : LoadedForms())
        count += w->isVisible() ? 1 : 0;
    return count;
}

int32_t cVBForm::MostRightControlRight(QWidget* form, const QString& typeName) const
{
    const QWidget* c = MostRightControl(form, typeName);
    return c ? int32_t((c->x() + c->width()) * kTwipsPerPixel) : 0;
}

QWidget* cVBForm::MostRightControl(QWidget* form, const QString& typeName) const
{
    QWidget* best = nullptr;
    for (QWidget* c : FormControls(form)) {
        if (!typeName.isEmpty() && TypeName(c) != typeName)
            continue;
        if (!best || c->x() + c->width() > best->x() + best->width())
            best = c;
    }
    return best;
}

void cVBForm::SetPosition(QWidget* reference, QWidget* target, int mode) const
{
    const double left = reference->x() * kTw, top = reference->y() * kTw;
    if (mode == 1)
        target->move(Px(left + reference->width() * kTw + ControlGap), Px(top));
    else if (mode == 2)
        target->move(Px(left), Px(top + reference->height() * kTw + ControlGap));
}

bool cVBForm::CheckExistForm(QWidget* form) const
{
    return form && IsFormLoad(form->objectName(), true);
}

void cVBForm::FitScreenCenter(QWidget* form) const
{
    const QPointF p = ScreenCenterTwips(form->screen()->availableGeometry(), Width(form), Height(form));
    form->move(Px(p.x()), Px(p.y()));
}
