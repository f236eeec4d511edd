#pragma once
// The printer settings editor (プリンタ設定): one row of M_Printer, new (追　加, INSERT) or existing
// (更　新, UPDATE): report name, printer, port, paper size, orientation, bin, print mode and
// remarks. The printer, port, size and bin choices come from the installed printers; the
// printer set-up dialog fills them at once. Only the printer columns of the OS flag are written.
// In new mode the editor stays open after each save, reset for the next row.
//
//   gSysPrintDtl().SetData(id, isDetail, osFlag);  gSysPrintDtl().showModal();
//
// Its delete button raises DeleteData; the list deletes the row and sets cancel when it did not.
#include "foundation/cBase.h"
#include "printing/cAreport.h"
#include "ui/FormHandler.h"

#include <QPointer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class ImText;
class LineButton;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;
class cFrmCtrl;

class frmSysPrintDtl : public HandledForm {
    Q_OBJECT
public:
    frmSysPrintDtl();
    ~frmSysPrintDtl() override;

    // Loads the editor when needed and prepares it for a new row (isDetail false; the ID is not
    // used) or for row ID.
    void SetData(int32_t& id, bool& isDetail, int16_t& osFlag);

    // The controls, once loaded.
    QPointer<QLabel> labReport, labPrint, labPort, labSize, labDirect, labBin, labMode, labKind, labBikou;
    QPointer<QComboBox> cmbReport, cmbPrint, cmbPort, cmbSize, cmbBin, cmbMode, cmbKind;
    QPointer<QPushButton> butPrint, butPort;
    QPointer<QFrame> picDirect;
    std::array<QPointer<QRadioButton>, 2> optDirect;
    QPointer<ImText> txtBikou;
    QPointer<LineButton> lbutEntry, lbutDel, lbutClose;

    // The form state.
    int32_t m_ID = 0;
    bool m_IsDetail = false;
    bool m_Edited = false;
    int16_t m_Kind = 2;
    QString m_PrinterName;
    int16_t m_PaperSize = 0, m_PaperDirect = 1, m_PaperBin = 0, m_PrintMode = 0;
    cFrmCtrl* controller() const { return ctrl_.get(); }

signals:
    void DeleteData(bool& cancel);

protected:
    void createControls(FormWindow* w) override;
    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_Unload(int& cancel) override;

private:
    bool SaveData();
    bool CheckData();
    void SetControlLayout();
    void ResetEdited();
    void InitCombo();
    void SetReportCombo(QComboBox* box);
    void ResetForNewRow();
    void AddComboItem(QComboBox* box, int32_t itemData, const QString& text);
    QString GetComboText(QComboBox* box, int32_t itemData);
    int GetComboIndex(QComboBox* box, int32_t itemData);
    int FindComboText(QComboBox* box, const QString& text);

    bool cmbPrint_Validate();          // false keeps the focus in the printer box
    void butPrint_Click();
    void butPort_Click();
    void lbutEntry_Click();
    void lbutDel_Click();
    void lbutClose_Click();
    void optDirect_Click(int index);
    void optDirect_Focus(int index, bool got);
    void optDirect_KeyDown(int& keyCode, int& shift);
    void combo_Click(QComboBox* box);

    std::unique_ptr<cFrmCtrl> ctrl_;
    std::unique_ptr<cAreport> areport_;
    std::unique_ptr<cBase> base_;
    bool validating_ = false;
};

// The one editor of the program, created on first use.
frmSysPrintDtl& gSysPrintDtl();
