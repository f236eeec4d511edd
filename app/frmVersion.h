#pragma once
// The About box (バージョン情報): the program's version, read from the executable in the program
// folder, and the information address kept in the registry, shown as a link that the desktop
// opens.
//
//   gVersion().ShowModal(mainWindow);   // modal, owned by the main window
#include "platform/gui/Form.h"

#include <QPointer>
#include <functional>

class Label;
class LineButton;
class QLabel;

class frmVersion : public Form {
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
    void handle(const char* procedure, const std::function<void()>& body);
    // Runs a step; a failure is logged and the step is tried once more (and logged again).
    void retryOnce(const char* procedure, const std::function<void()>& step);
};

// The one About box, created on first use.
frmVersion& gVersion();
