#pragma once
// The printer settings list (プリンタ設定一覧): every row of M_Printer in report-name order, with
// 新　規 and 詳　細 opening the editor modally (a double click on a row or Enter does too,
// Ctrl+Enter always a new row), 削　除 deleting the current row after confirmation (never the
// default row "(標準プリンタ設定)"), 閉じる. The list re-reads the table after the editor closes.
//
//   gSysPrintList().showModal();
#include "ui/FormHandler.h"

#include <QPointer>
#include <cstdint>
#include <functional>

class LineButton;
class Recordset;
class TDBGrid;
class frmSysPrintDtl;

class frmSysPrintList : public HandledForm {
    Q_OBJECT
public:
    frmSysPrintList();

    // The controls, once loaded.
    QPointer<TDBGrid> TDBList;
    QPointer<LineButton> lbutNew, lbutDtl, lbutDel, lbutClose;
    int16_t osFlag() const { return osFlag_; }

protected:
    void createControls(FormWindow* w) override;
    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void afterHandlerError() override;   // the mouse pointer back to normal

private:
    void OpenList();
    void SetButtonEnable(Recordset& rs);
    void SetGridLayout();
    bool DeleteCurrentRow();
    bool DeleteRecord(Recordset& rs);
    void RequeryList();
    void OpenEditor(bool detail, bool& running, const char* procedure);
    void lbutNew_Click();
    void lbutDtl_Click();
    void lbutDel_Click();
    void lbutClose_Click();
    void TDBList_DblClick();
    void TDBList_KeyDown(int& keyCode, int& shift);
    void DetailForm_DeleteData(bool& cancel);
    bool currentRowHasId();

    QPointer<frmSysPrintDtl> DetailForm;
    QMetaObject::Connection detailConnection_;
    int16_t osFlag_ = 2;
    bool inDataArea_ = false;
    bool newRunning_ = false, dtlRunning_ = false;
};

// The one list of the program, created on first use.
frmSysPrintList& gSysPrintList();
