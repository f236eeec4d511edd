#include "printing/frmSysPrintList.h"

#include "foundation/ErrLog.h"
#include "foundation/Globals.h"
#include "foundation/cApl.h"
#include "foundation/cBase.h"
#include "foundation/cDao.h"
#include "platform/core/MsgBox.h"
#include "platform/gui/Handler.h"
#include "platform/gui/Keys.h"
#include "platform/gui/TDBGrid.h"
#include "platform/gui/Units.h"
#include "printing/PrinterTable.h"
#include "printing/frmSysPrintDtl.h"
#include "ui/ControlFactory.h"
#include "ui/LineButton.h"
#include "ui/mdlMain.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>

namespace {

const QString kModule = QStringLiteral("frmSysPrintList");
const QString kCR = QStringLiteral("\r");

// Follows the mouse over the grid's cells: whether the last position lay in the data area.
class DataAreaFilter : public QObject {
public:
    DataAreaFilter(TDBGrid* grid, bool* inDataArea) : QObject(grid), grid_(grid), flag_(inDataArea) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            *flag_ = grid_->indexAt(static_cast<QMouseEvent*>(e)->position().toPoint()).isValid();
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, e);
    }

private:
    TDBGrid* grid_;
    bool* flag_;
};

}  // namespace

frmSysPrintList& gSysPrintList()
{
    static frmSysPrintList* form = new frmSysPrintList;   // lives as long as the program
    return *form;
}

frmSysPrintList::frmSysPrintList() : HandledForm(QStringLiteral("frmSysPrintList")) {}

// A procedure that failed may have left the hourglass up.
void frmSysPrintList::afterHandlerError() { setMousePointer(vbDefault); }

void frmSysPrintList::createControls(FormWindow* w)
{
    SetDialogFrame(w, QStringLiteral("プリンタ設定一覧"), QSize(660, 400));

    TDBList = NewControl<TDBGrid>(w, "TDBList", QRect(8, 8, 644, 330));
    TDBList->viewport()->setMouseTracking(true);
    TDBList->viewport()->installEventFilter(new DataAreaFilter(TDBList, &inDataArea_));

    auto lineButton = [w](QPointer<LineButton>& b, const char* name, const QString& caption, int left) {
        b = NewLineButton(w, name, caption, QRect(left, 352, 110, 36));
    };
    lineButton(lbutNew, "lbutNew", QStringLiteral("新\u3000規"), 190);
    lineButton(lbutDtl, "lbutDtl", QStringLiteral("詳\u3000細"), 306);
    lineButton(lbutDel, "lbutDel", QStringLiteral("削\u3000除"), 422);
    lineButton(lbutClose, "lbutClose", QStringLiteral("閉じる"), 542);

    connect(lbutNew, &LineButton::Click, w, [this] { lbutNew_Click(); });
    connect(lbutDtl, &LineButton::Click, w, [this] { lbutDtl_Click(); });
    connect(lbutDel, &LineButton::Click, w, [this] { handle("lbutDel_Click", [this] { lbutDel_Click(); }); });
    connect(lbutClose, &LineButton::Click, w, [this] { handle("lbutClose_Click", [this] { lbutClose_Click(); }); });
    connect(TDBList, &TDBGrid::DblClick, w, [this] { handle("TDBList_DblClick", [this] { TDBList_DblClick(); }); });
    connect(TDBList, &TDBGrid::KeyDown, w, [this](int& code, int& shift) {
        handle("TDBList_KeyDown", [&] { TDBList_KeyDown(code, shift); });
    });
}

void frmSysPrintList::Form_Load()
{
    handle("Form_Load", [this] {
        gApl().SetButLineColor(lbutClose, kRoleExit);
        gApl().SetButLineColor(lbutNew, kRoleNew);
        gApl().SetButLineColor(lbutDtl, kRoleDetail);
        gApl().SetButLineColor(lbutDel, kRoleDelete);
        OpenList();
        SetFormControlsStyle(*this);
        SetGridLayout();
        setCaption(caption() + QStringLiteral(" - ") + QStringLiteral("Panelo2"));
    });
}

void frmSysPrintList::OpenList()
{
    setMousePointer(vbHourglass);
    Recordset rs = gDao().OpenRecordset(QStringLiteral("SELECT * FROM m_printer ORDER BY ReportName"), dbOpenDynaset,
                                        dbReadOnly, dbReadOnly);
    TDBList->clearRecordset();
    TDBList->setRecordset(rs);
    SetButtonEnable(TDBList->recordset());
    DetailForm = &gSysPrintDtl();
    disconnect(detailConnection_);
    detailConnection_ = connect(DetailForm, &frmSysPrintDtl::DeleteData, this, [this](bool& cancel) {
        handle("DetailForm_DeleteData", [&] { DetailForm_DeleteData(cancel); });
    });
    osFlag_ = PrinterOsFlag();
    setMousePointer(vbDefault);
}

void frmSysPrintList::SetButtonEnable(Recordset& rs)
{
    const bool any = rs.isOpen() && rs.recordCount() >= 1;
    lbutDtl->setEnabled(any);
    lbutDel->setEnabled(any);
}

void frmSysPrintList::SetGridLayout()
{
    while (TDBList->columnCount() > 0)
        TDBList->removeColumn(0);
    const double fontSize = TDBList->font().pointSizeF();
    struct ColumnDef {
        QString caption, field;
    };
    const ColumnDef columns[] = {{QStringLiteral("ID"), QStringLiteral("ID")},
                          {QStringLiteral("帳票名"), QStringLiteral("ReportName")},
                          {QStringLiteral("プリンタ名"), PrinterNameColumn(osFlag_)},
                          {QStringLiteral("印刷設定"), QStringLiteral("PrintMode")}};
    for (int i = 0; i < 4; ++i) {
        TDBColumn& c = TDBList->addColumn(i);
        c.setCaption(columns[i].caption);
        c.setDataField(columns[i].field);
        c.setAlignment(dbgLeft);
        c.setVisible(true);
    }
    TDBColumn& id = TDBList->column(0);
    id.setWidth(0);
    id.setVisible(false);
    const double reportWidth = PixelScale(fontSize, 30) / kTwipsPerPixel;
    const double modeWidth = PixelScale(fontSize, 10) / kTwipsPerPixel;
    TDBList->column(1).setWidth(reportWidth);
    TDBList->column(3).setWidth(modeWidth);
    const double selectors = TDBList->recordSelectors() ? TDBList->verticalHeader()->width() : 0;
    const double scrollBar = TDBList->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const double frame = 2.0 * TDBList->frameWidth();
    TDBList->column(2).setWidth(TDBList->width() - reportWidth - modeWidth - selectors - scrollBar - frame);
    TDBColumn& mode = TDBList->column(3);
    mode.setAlignment(dbgCenter);
    for (const auto& [code, name] : PrintModeNames())
        AddValueItem(mode, QString::number(code), name, false, false);
}

bool frmSysPrintList::currentRowHasId()
{
    return TDBList->rowCount() > 0 && cBase().StrLen(TDBList->column(QStringLiteral("ID")).value()) > 0;
}

void frmSysPrintList::RequeryList()
{
    Recordset& rs = TDBList->recordset();
    rs.requery();
    if (rs.recordCount() != 0)
        rs.moveFirst();
}

// --- the commands -----------------------------------------------------------------------------

// Opens the editor modally for a new row or for the current row; a second command while one
// runs does nothing. The list is read again when the editor has closed.
void frmSysPrintList::OpenEditor(bool detail, bool& running, const char* procedure)
{
    if (running || !isLoaded())
        return;
    running = true;
    handle(procedure, [&] {
        setMousePointer(vbHourglass);
        int32_t id = detail ? cBase().CvtLng(TDBList->recordset().field(QStringLiteral("ID"))) : 0;
        DetailForm->SetData(id, detail, osFlag_);
        DetailForm->showModal();
        running = false;
        RequeryList();
        SetButtonEnable(TDBList->recordset());
        setMousePointer(vbDefault);
    });
    running = false;
}

void frmSysPrintList::lbutNew_Click() { OpenEditor(false, newRunning_, "lbutNew_Click"); }

void frmSysPrintList::lbutDtl_Click() { OpenEditor(true, dtlRunning_, "lbutDtl_Click"); }

void frmSysPrintList::TDBList_DblClick()
{
    if (!inDataArea_)
        return;
    if (currentRowHasId())
        lbutDtl_Click();
    else
        lbutNew_Click();
}

void frmSysPrintList::TDBList_KeyDown(int& keyCode, int& shift)
{
    if (keyCode != vbKeyReturn)
        return;
    if (shift & vbCtrlMask)
        lbutNew_Click();
    else if (currentRowHasId())
        lbutDtl_Click();
    else
        lbutNew_Click();
    keyCode = 0;
    shift = 0;
}

void frmSysPrintList::lbutDel_Click()
{
    if (cBase().CvtStr(TDBList->recordset().field(QStringLiteral("ReportName"))) == kDefaultReportName) {
        MsgBox(QStringLiteral("[") + kDefaultReportName + QStringLiteral("]は削除出来ません。"), vbExclamation,
               QStringLiteral("警告"));
        return;
    }
    DeleteCurrentRow();
}

bool frmSysPrintList::DeleteCurrentRow()
{
    const cBase b;
    const TDBColumn& report = TDBList->column(QStringLiteral("帳票名"));
    const TDBColumn& printer = TDBList->column(QStringLiteral("プリンタ名"));
    const QString text = QStringLiteral("データを削除します。") + kCR + kCR + report.caption() + QStringLiteral("[") +
                         b.CvtStr(report.value()) + QStringLiteral("] ") + printer.caption() + QStringLiteral("[") +
                         b.CvtStr(printer.value()) + QStringLiteral("]") + kCR;
    if (MsgBox(text, vbYesNo + vbInformation + vbDefaultButton2, QStringLiteral("データ削除")) != vbYes)
        return false;
    try {
        setMousePointer(vbHourglass);
        // A deletion that did not happen is reported as such, so the editor stays open.
        const bool deleted = DeleteRecord(TDBList->recordset());
        if (deleted)
            RequeryList();
        TDBList->refresh();
        SetButtonEnable(TDBList->recordset());
        setMousePointer(vbDefault);
        return deleted;
    } catch (const std::exception& e) {
        setMousePointer(vbDefault);
        MsgBox(QStringLiteral("データ削除中にエラーが発生しました。") + kCR + DescribeError(e), vbCritical,
               QStringLiteral("データ削除"));
        return false;
    }
}

bool frmSysPrintList::DeleteRecord(Recordset& rs)
{
    const cBase b;
    try {
        const QString sql = QStringLiteral("DELETE FROM m_printer WHERE ID=") + b.CvtSQL(rs.field(QStringLiteral("ID")), kSqlLong);
        return WritePrinterRow(sql);
    } catch (const std::exception&) {
        try {
            gDao().RollbackTrans();
        } catch (const std::exception&) {
        }
        return false;
    }
}

void frmSysPrintList::DetailForm_DeleteData(bool& cancel) { cancel = !DeleteCurrentRow(); }

void frmSysPrintList::lbutClose_Click() { unload(vbFormCode); }

void frmSysPrintList::Form_Unload(int&)
{
    disconnect(detailConnection_);
    DetailForm = nullptr;
}
