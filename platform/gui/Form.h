#pragma once
// The form of the forms run time: one object per window that outlives its window. Loading
// builds the window and its controls (the design state) and runs Form_Load; unloading asks
// Form_QueryUnload and Form_Unload, then hides the window and deletes it once control is back
// in the event loop, so a handler of the window may unload it. A form that is not enabled is an
// input gate: its window refuses mouse, keyboard and close requests without greying anything.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

enum UnloadMode { vbFormControlMenu = 0, vbFormCode = 1, vbAppWindows = 2, vbAppTaskManager = 3 };
enum MousePointerValue { vbDefault = 0, vbHourglass = 11 };

class Form;

// The window of a loaded form.
class FormWindow : public QWidget {
    Q_OBJECT
public:
    Form* form() const { return form_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class Form;
    explicit FormWindow(Form* form);
    QPointer<Form> form_;
};

class Form : public QObject {
    Q_OBJECT
public:
    explicit Form(const QString& name, QObject* parent = nullptr);
    ~Form() override;

    const QString& name() const { return name_; }   // the module name of its error-log lines

    bool isLoaded() const { return window_ != nullptr; }
    FormWindow* window();                           // loads the form when needed
    FormWindow* loadedWindow() const { return window_; }

    void load();
    void show();                                    // modeless, activated
    // Returns when the form is unloaded or hidden. A window that has not placed itself opens
    // centred over its owner (the active window when none is given) and stays above it.
    void showModal(QWidget* owner = nullptr);
    bool unload(int unloadMode = vbFormCode);       // false when a handler cancelled it
    void hide();
    bool isVisible() const;

    // The input gate (the run time's Enabled of a form).
    void setEnabled(bool enabled);
    bool isEnabled() const { return enabled_; }

    // The control that has the focus in this window (also while another window is active);
    // nullptr when none has it.
    QWidget* activeControl() const;
    // Every control of the form in creation order (inner parts of stand-ins excluded).
    QList<QWidget*> controls() const;

    void setMousePointer(int pointer);              // 0 default, 11 hourglass
    int mousePointer() const { return mousePointer_; }
    void setCaption(const QString& caption);
    QString caption();
    void setCancelButton(QWidget* control) { cancel_ = control; }   // Esc presses it
    void setDefaultButton(QWidget* control) { default_ = control; } // Enter presses it
    void setKeyPreview(bool on) { keyPreview_ = on; }
    bool keyPreview() const { return keyPreview_; }

    // Tests drive modal forms: the driver runs once the form is shown modally (instead of an
    // event loop); a form the driver leaves open is unloaded. Returns the previous driver.
    using ModalDriver = std::function<void(Form&)>;
    static ModalDriver SetModalDriver(ModalDriver driver);

signals:
    // With keyPreview, every key of the window reaches these first; KeyCode 0 swallows it,
    // another code replaces the key.
    void KeyDown(int& keyCode, int& shift);
    void KeyUp(int& keyCode, int& shift);
    void loaded();
    void unloaded();
    void hidden();

protected:
    // Builds the design state on the new window: controls, size, flags, caption.
    virtual void createControls(FormWindow* window) = 0;
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Deactivate() {}
    virtual void Form_QueryUnload(int& cancel, int unloadMode) {}
    virtual void Form_Unload(int& cancel) {}
    virtual void Form_Resize() {}

private:
    friend class FormWindow;
    friend class FormGate;
    void activated(bool active);
    void pressAccessKey(QWidget* target, int keyCode);

    QString name_;
    QPointer<FormWindow> window_;
    bool enabled_ = true;
    bool active_ = false;
    bool keyPreview_ = false;
    int mousePointer_ = vbDefault;
    QPointer<QWidget> cancel_, default_;
};

// Centres a window over its owner's frame and keeps it above the owner.
void PlaceOverOwner(QWidget* window, QWidget* owner);

// Sets a modal driver for the life of a scope.
class ScopedModalDriver {
public:
    explicit ScopedModalDriver(Form::ModalDriver driver) : previous_(Form::SetModalDriver(std::move(driver))) {}
    ~ScopedModalDriver() { Form::SetModalDriver(std::move(previous_)); }
    ScopedModalDriver(const ScopedModalDriver&) = delete;
    ScopedModalDriver& operator=(const ScopedModalDriver&) = delete;

private:
    Form::ModalDriver previous_;
};
