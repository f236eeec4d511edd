#include "platform/gui/Form.h"

#include "platform/gui/Controls.h"
#include "platform/gui/Events.h"
#include "platform/gui/Handler.h"
#include "platform/gui/Keys.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWindow>

// One filter on the application sees every input event before its widget: it refuses input to
// the windows of disabled forms and hands keys to forms that preview them.
class FormGate : public QObject {
public:
    static void install()
    {
        static FormGate* gate = nullptr;
        if (!gate && qApp) {
            gate = new FormGate(qApp);
            qApp->installEventFilter(gate);
        }
    }

protected:
    bool eventFilter(QObject* obj, QEvent* e) override
    {
        if (!obj->isWidgetType())
            return false;
        auto* w = static_cast<QWidget*>(obj);
        auto* fw = qobject_cast<FormWindow*>(w->window());
        Form* form = fw ? fw->form() : nullptr;
        if (!form)
            return false;
        if (!form->isEnabled() && isInput(e->type()))
            return true;
        if (form->keyPreview() && (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease))
            return preview(form, w, static_cast<QKeyEvent*>(e));
        return false;
    }

private:
    explicit FormGate(QObject* parent) : QObject(parent) {}

    static bool isInput(QEvent::Type t)
    {
        switch (t) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::ContextMenu:
        case QEvent::InputMethod:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return true;
        default:
            return false;
        }
    }

    // A key event travels up from its first receiver through the parents; the form sees it once.
    bool preview(Form* form, QWidget* w, QKeyEvent* e)
    {
        const bool sameEvent = e == lastEvent_ && lastReceiver_ && lastReceiver_ != w && w->isAncestorOf(lastReceiver_);
        lastEvent_ = e;
        lastReceiver_ = w;
        if (sameEvent || replaying_)
            return false;
        const int original = VbKeyCode(e);
        int code = original;
        int shift = VbShiftState(e);
        RunGuarded(form->name(), e->type() == QEvent::KeyPress ? QStringLiteral("Form_KeyDown")
                                                               : QStringLiteral("Form_KeyUp"), [&] {
            if (e->type() == QEvent::KeyPress)
                emit form->KeyDown(code, shift);
            else
                emit form->KeyUp(code, shift);
        });
        if (code == original)
            return false;
        if (code != 0) {   // the handler replaced the key: the control receives the new one
            QKeyEvent replaced = MakeKeyEvent(e->type(), code, shift);
            replaying_ = true;
            QCoreApplication::sendEvent(w, &replaced);
            replaying_ = false;
        }
        return true;
    }

    QEvent* lastEvent_ = nullptr;
    QPointer<QWidget> lastReceiver_;
    bool replaying_ = false;
};

namespace {
Form::ModalDriver& modalDriver()
{
    static Form::ModalDriver d;
    return d;
}
}  // namespace

// --- FormWindow ------------------------------------------------------------------------------

FormWindow::FormWindow(Form* form) : QWidget(nullptr, Qt::Window), form_(form)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void FormWindow::closeEvent(QCloseEvent* e)
{
    e->ignore();   // the form decides; unloading hides and deletes the window
    if (form_ && form_->isEnabled() && form_->window_ == this)
        form_->unload(vbFormControlMenu);
}

void FormWindow::keyPressEvent(QKeyEvent* e)
{
    if (form_ && e->modifiers() == Qt::NoModifier) {
        if (e->key() == Qt::Key_Escape && form_->cancel_) {
            form_->pressAccessKey(form_->cancel_, vbKeyEscape);
            return;
        }
        if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && form_->default_) {
            form_->pressAccessKey(form_->default_, vbKeyReturn);
            return;
        }
    }
    QWidget::keyPressEvent(e);
}

void FormWindow::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::ActivationChange && form_ && form_->window_ == this)
        form_->activated(isActiveWindow());
    QWidget::changeEvent(e);
}

void FormWindow::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    if (form_ && form_->window_ == this)
        RunGuarded(form_->name(), QStringLiteral("Form_Resize"), [this] { form_->Form_Resize(); });
}

// --- Form ------------------------------------------------------------------------------------

Form::Form(const QString& name, QObject* parent) : QObject(parent), name_(name)
{
    FormGate::install();
}

Form::~Form()
{
    if (window_) {
        window_->form_ = nullptr;
        delete window_.data();
    }
}

Form::ModalDriver Form::SetModalDriver(ModalDriver driver)
{
    ModalDriver previous = std::move(modalDriver());
    modalDriver() = std::move(driver);
    return previous;
}

FormWindow* Form::window()
{
    load();
    return window_;
}

void Form::load()
{
    if (window_)
        return;
    FormGate::install();
    auto* w = new FormWindow(this);
    w->setObjectName(name_);
    window_ = w;
    active_ = false;
    createControls(w);
    setMousePointer(mousePointer_);
    RunGuarded(name_, QStringLiteral("Form_Load"), [this] { Form_Load(); });
    if (window_)
        emit loaded();
}

void Form::show()
{
    load();
    if (!window_)
        return;
    window_->show();
    SetForegroundWindow(window_);
    if (window_ && !active_)   // the platform may activate later; the form is active once shown
        activated(true);
}

void PlaceOverOwner(QWidget* window, QWidget* owner)
{
    if (!window || !owner || owner == window || !owner->isVisible())
        return;
    window->winId();
    owner->winId();
    if (window->windowHandle() && owner->windowHandle())
        window->windowHandle()->setTransientParent(owner->windowHandle());
    window->move(owner->frameGeometry().center() - QPoint(window->width() / 2, window->height() / 2));
}

void Form::showModal(QWidget* owner)
{
    load();
    if (!window_)
        return;
    QPointer<FormWindow> w = window_;
    if (!w->isVisible() && !w->testAttribute(Qt::WA_Moved))
        PlaceOverOwner(w, owner ? owner->window() : QApplication::activeWindow());
    w->setWindowModality(Qt::ApplicationModal);
    show();
    if (modalDriver()) {
        ModalDriver driver = modalDriver();
        driver(*this);
        if (window_ == w && w && w->isVisible())
            unload(vbFormCode);
    } else if (window_ == w && w && w->isVisible()) {
        QEventLoop loop;
        connect(this, &Form::unloaded, &loop, &QEventLoop::quit);
        connect(this, &Form::hidden, &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (w)
        w->setWindowModality(Qt::NonModal);
}

bool Form::unload(int unloadMode)
{
    if (!window_)
        return true;
    int cancel = 0;
    RunGuarded(name_, QStringLiteral("Form_QueryUnload"), [&] { Form_QueryUnload(cancel, unloadMode); });
    if (cancel || !window_)
        return !window_;
    RunGuarded(name_, QStringLiteral("Form_Unload"), [&] { Form_Unload(cancel); });
    if (cancel || !window_)
        return !window_;
    FormWindow* w = window_;
    window_ = nullptr;
    active_ = false;
    w->form_ = nullptr;
    w->hide();
    w->deleteLater();   // a handler of this window may still be running
    emit unloaded();
    return true;
}

void Form::hide()
{
    if (!window_)
        return;
    window_->hide();
    emit hidden();
}

bool Form::isVisible() const { return window_ && window_->isVisible(); }

void Form::setEnabled(bool enabled) { enabled_ = enabled; }

QWidget* Form::activeControl() const
{
    if (!window_)
        return nullptr;
    QWidget* focus = window_->focusWidget();
    if (!focus || focus == window_)
        return nullptr;
    QWidget* control = focus;
    for (QWidget* p = focus; p && p != window_; p = p->parentWidget())
        if (IsMarkedControl(p))
            control = p;   // the outermost stand-in holding the focus
    return control;
}

QList<QWidget*> Form::controls() const
{
    QList<QWidget*> out;
    if (!window_)
        return out;
    std::function<void(QWidget*)> walk = [&](QWidget* parent) {
        for (QObject* o : parent->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (!w || w->isWindow())
                continue;
            if (!TypeName(w).isEmpty())
                out << w;
            // Stand-ins and composite widgets hold parts that are no controls of the form.
            const bool leaf = IsMarkedControl(w) || qobject_cast<QAbstractItemView*>(w) ||
                              qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QComboBox*>(w) ||
                              qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractButton*>(w);
            if (!leaf)
                walk(w);
        }
    };
    walk(window_);
    return out;
}

void Form::setMousePointer(int pointer)
{
    mousePointer_ = pointer;
    if (!window_)
        return;
    if (pointer == vbHourglass)
        window_->setCursor(Qt::WaitCursor);
    else
        window_->unsetCursor();
}

void Form::setCaption(const QString& caption) { window()->setWindowTitle(caption); }
QString Form::caption() { return window()->windowTitle(); }

void Form::activated(bool active)
{
    if (active == active_)
        return;
    active_ = active;
    if (active)
        RunGuarded(name_, QStringLiteral("Form_Activate"), [this] { Form_Activate(); });
    else
        RunGuarded(name_, QStringLiteral("Form_Deactivate"), [this] { Form_Deactivate(); });
}

void Form::pressAccessKey(QWidget* target, int keyCode)
{
    if (auto* t = dynamic_cast<AccessKeyTarget*>(target)) {
        t->accessKeyPress(keyCode);
    } else if (auto* b = qobject_cast<QAbstractButton*>(target)) {
        if (b->isEnabled())
            b->click();
    }
}
