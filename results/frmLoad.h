#pragma once
// The recall dialog (計算結果呼出): lists the named saves; 読　込 copies the chosen save back into
// the working tables and closes (State tells the opener whether it succeeded), 削　除 deletes a
// save after a question and keeps the dialog open. Each recall and deletion is one transaction
// through gDaoSave; a failed one changes nothing.
//
//   gLoad().showModal();
//   if (gLoad().State) { ...rebuild the grids, settings and list from the working tables... }
#include "platform/core/Database.h"
#include "ui/FormHandler.h"

#include <QPointer>
#include <cstdint>
#include <functional>

class LineButton;
class TDBGrid;

class frmLoad : public HandledForm {
    Q_OBJECT
public:
    frmLoad();

    QPointer<::TDBGrid> TDBGrid;
    QPointer<LineButton> lbutLoad, lbutDel, lbutClose;
    Recordset rsSaveList;

    bool State = false;        // True only when the window closed right after a successful recall
    int32_t HozonNo = 0;       // 保存番号 of the latest recall attempt

    void lbutLoad_Click();
    void lbutDel_Click();
    void lbutClose_Click();
    void TDBGrid_DblClick();
    void LoadSaveList();

protected:
    void createControls(FormWindow* w) override;
    void Form_Load() override;

private:
    void SetButtonColors();
    void EnableButtons(const Recordset& list);
    void SetGridColumns();
    Variant CurrentField(const QString& name);
};

// The one recall dialog, created on first use.
frmLoad& gLoad();
