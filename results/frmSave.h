#pragma once
// The save dialog (計算結果保存): keeps the whole computation (settings, patterns, list, kerf,
// stock and parts) under a typed name, as one transaction through gDaoSave. An existing name is
// overwritten after a question; a failed save leaves the save database as it was.
//
//   gSave().showModal();   // the main window, after writing 設定
#include "ui/FormHandler.h"

#include <QPointer>
#include <cstdint>
#include <functional>

class ImText;
class Label;
class LineButton;

class frmSave : public HandledForm {
    Q_OBJECT
public:
    frmSave();

    QPointer<Label> labHozon1;
    QPointer<ImText> txtHozonName;
    QPointer<LineButton> lbutAdd, lbutClose;

    void lbutAdd_Click();
    void lbutClose_Click();
    // Writes the row of 保存 for the typed name (new, or the existing one updated) and gives
    // its number.
    bool SaveHozon(int32_t& number);

protected:
    void createControls(FormWindow* w) override;
    void Form_Load() override;

private:
    void SetButtonColors();
    int32_t CountOfName(const QString& nameLiteral);
};

// The one save dialog, created on first use.
frmSave& gSave();
