#pragma once
// The About box (バージョン情報): the program's version, read from the executable in the program
// folder, and the information address kept in the registry, shown as a link that the desktop
// opens.
//
//   gVersion().ShowModal(mainWindow);   // modal, owned by the main window
#include "ui/FormHandler.h"

#include <QPointer>
#include <functional>

class Label;
class LineButton;
class QLabel;

class frmVersion : public HandledForm {
    Q_OBJECT
public:
    frmVersion();

    QPointer<QLabel> imgLogo, pctMouseIcon;
    QPointer<Label> labBack, labVer, labInfo, labUrl;
    QPointer<LineButton> lbutClose;

    // Shown modal, owned by (and centred over) the owner window.
    void ShowModal(QWidget* owner);
    void SetData();
    void labUrl_Click();

protected:
    void createControls(FormWindow* w) override;
    void Form_Load() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetControls();
    void setLinkHighlight(bool on);
};

// The one About box, created on first use.
frmVersion& gVersion();
