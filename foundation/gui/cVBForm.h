#pragma once
// Operations on the program's windows (forms) that belong to no one form: centring on the work
// area, unloading and counting forms, keeping a form on top, the close command, disabling every
// control and restoring it, aspect ratio, pixel geometry and control placement.
// A form is a top-level QWidget; geometry is in twips (15 per pixel) and covers the window frame.
#include <QPointF>
#include <QRect>
#include <QString>
#include <cstdint>
#include <vector>

class QWidget;

class cVBForm {
public:
    cVBForm();

    int32_t ControlGap;                                   // twips between two controls (10 pixels)

    void TopMost(bool on, QWidget* form);
    void TopModalForm(QWidget* form, bool on) { TopMost(on, form); }
    void TitleBar(QWidget* form, bool show, const QString& caption);
    void Maximize(QWidget* form);
    void Normalize(QWidget* form, const QString& caption);
    void ResizeKeepXYRatio(QWidget* form, int32_t x, int32_t y);
    int16_t SystemBorderWidth(QWidget* form) const;
    int16_t SystemBorderHeight(QWidget* form) const;
    float PixelPx(QWidget* form) const;
    float PixelPy(QWidget* form) const;
    float PixelSx(QWidget* form) const;
    float PixelSy(QWidget* form) const;
    // Removes or restores the window's close button and refuses or allows the user's closing
    // (closing by the program still works). A null window means the active window and is
    // replaced by it.
    void EnableCloseButton(bool enable, QWidget*& window);
    void EnableAllButtons(QWidget* form, bool enable);
    // Whether another instance runs in this program folder (it holds the folder's instance
    // lock); when it does, its main window comes to the front.
    bool IsRunning(QWidget* form);
    void ActiveAlreadyhWnd();                             // the other instance's window to the front
    void CopyFormGeometry(QWidget* source, QWidget* target);
    // Closes every loaded form; a form that refuses stays loaded.
    void UnloadAllForm();
    bool IsFormLoad(const QString& name, bool byName = true) const;
    int16_t CountLoadForm() const;
    int32_t VisibleFormCount() const;
    int32_t MostRightControlRight(QWidget* form, const QString& typeName) const;
    // The control whose right edge lies furthest right among the form's controls of that type
    // ("CommandButton", "TextBox", ...; any type when the name is empty); the first in the
    // form's order wins a tie.
    QWidget* MostRightControl(QWidget* form, const QString& typeName) const;
    void SetPosition(QWidget* reference, QWidget* target, int mode) const;
    bool CheckExistForm(QWidget* form) const;
    void FitScreenCenter(QWidget* form) const;

private:
    std::vector<bool> savedEnabled_;
    bool resizing_ = false;
};

cVBForm& gVBForm();

constexpr int kTwipsPerPixel = 15;
// The loaded forms: top-level windows (not pop-ups or tool tips) that are shown, or that were
// created and never shown nor closed.
QList<QWidget*> LoadedForms();
// The controls of a form, in its order: every widget inside its window except Qt's own parts.
QList<QWidget*> FormControls(QWidget* form);
// Left and top in twips that centre a form of this size on a rectangle of the work area's size
// at the screen's corner (the work area's own position is not added).
QPointF ScreenCenterTwips(const QRect& workArea, double widthTwips, double heightTwips);
