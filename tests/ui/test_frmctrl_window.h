#pragma once
// The test window of the form controller tests: one control of each kind the wrapper takes,
// each with its caption label, a stand-alone title label, a multi-line text box and a button.
#include "platform/gui/Form.h"
#include "platform/gui/ImNumber.h"
#include "platform/gui/ImText.h"
#include "ui/LineButton.h"
#include "ui/cFrmCtrl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <memory>

class CtrlTestForm : public Form {
public:
    CtrlTestForm() : Form(QStringLiteral("frmCtrlTest")) {}
    ~CtrlTestForm() override;

    // Runs in Form_Load before anything else (the test's set-up of the design state).
    std::function<void(CtrlTestForm&)> beforeLoad;
    std::unique_ptr<cFrmCtrl> ctrl;      // made by NewFrmCtrl in Form_Load

    QPointer<QLabel> labTitle, labName, labReport, labMode, labFlag, labDirect, labQty, labBikou, labMemo;
    QPointer<QLineEdit> txtName;
    QPointer<QComboBox> cmbReport, cmbMode;
    QPointer<QCheckBox> chkFlag;
    QPointer<QFrame> picDirect;
    QPointer<QRadioButton> optDirect0, optDirect1;
    QPointer<ImNumber> numQty;
    QPointer<ImText> txtBikou;
    QPointer<QPlainTextEdit> txtMemo;
    QPointer<QPushButton> butRun;
    QPointer<LineButton> lbutClose;     // a line button: no control the wrapper takes

    // Loads and shows the window, active, with the focus on the control.
    void ShowWithFocus(QWidget* control);

protected:
    void createControls(FormWindow* w) override;
    void Form_Load() override;
};

// The Fusion style, palette and Japanese fonts, set up once.
void SetupCtrlTestGui();
// Lets the queued focus moves run.
void Settle();
// The widget as drawn, saved as <name>.png under the screenshot folder.
QImage SaveCtrlScreenshot(QWidget* w, const QString& name);
