#pragma once
// The system settings dialog (システム設定): cutting position, piece order, rotation method, strips,
// guide and strip lines, the ranking criteria in priority order, thumbnail size, sheets and rows
// of the list. It shows the settings globals (gEngine().Settings and gDisplay()); 設　定 writes the
// globals, then the one row of システム設定, and closes; キャンセル and the close box change nothing.
//
//   frmSetting dialog;  dialog.showModal();
#include "ui/FormHandler.h"

#include <QPointer>
#include <array>
#include <functional>

class ImNumber;
class LineButton;
class QCheckBox;
class QComboBox;
class QListWidget;
class QPushButton;
class QRadioButton;

class frmSetting : public HandledForm {
    Q_OBJECT
public:
    frmSetting();

    // The controls, by their names (option and check box arrays by index), once loaded.
    std::array<QPointer<QRadioButton>, 2> optHojoLine, optPosision, optSlitLine;
    std::array<QPointer<QRadioButton>, 3> optBuzaiOrder, optRevolution, optSlit;
    std::array<QPointer<QCheckBox>, 4> chkBuzaiOrder;
    QPointer<QListWidget> lstOrderBySelect, lstOrderBy;
    QPointer<QPushButton> butRight, butLeft, butUp, butDown;
    QPointer<QComboBox> cmbSize;
    QPointer<ImNumber> numBozmax, numList;
    QPointer<LineButton> lbutAdd, lbutClose;

protected:
    void createControls(FormWindow* w) override;
    void Form_Load() override;

private:
    void SetButtonColors();
    void InitSizeCombo();
    void InitOrderByList();
    void ShowSettings();
    bool CheckSettings();
    void lbutAdd_Click();
    void lbutClose_Click();
    void butRight_Click();
    void butLeft_Click();
    void butUp_Click();
    void butDown_Click();
    void optBuzaiOrder_Click(int index);
    void groupKeyDown(const char* procedure, int keyCode, int shift, QWidget* next, QWidget* previous);
};
