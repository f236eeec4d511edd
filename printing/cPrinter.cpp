#include "printing/cPrinter.h"

#include "platform/core/AppInfo.h"
#include "platform/core/Database.h"
#include "platform/core/MsgBox.h"
#include "platform/gui/Handler.h"
#include "platform/gui/Report.h"
#include "printing/PrinterTable.h"
#include "printing/fDlgPrint.h"

#include <memory>

namespace {

// The dialog's style for a print mode: 1 print, 2 preview, any other the three buttons.
int32_t dialogStyleOf(int16_t printMode)
{
    switch (printMode) {
    case 1: return 3;
    case 2: return 5;
    case 3: return 15;
    case 4: return 63;
    default: return 7;
    }
}

}  // namespace

cPrinter::cPrinter() : ReportPath_(AppPath()) {}

cPrinter::~cPrinter() { ActiveReport_ = nullptr; }

void cPrinter::setReportPath(const QString& path) { ReportPath_ = path.isEmpty() ? AppPath() : path; }

int32_t cPrinter::PrintDialog(bool& NoDialog)
{
    int32_t result = 1;
    std::unique_ptr<fDlgPrint> dialog;
    try {
        if (!ActiveReport_ || (UsePrintTable_ && !Database_))
            throw VbError(91, QStringLiteral("オブジェクト変数または With ブロック変数が設定されていません。"));
        int16_t printMode = 0;
        if (UsePrintTable_) {
            const QString head = QStringLiteral("SELECT * FROM M_Printer WHERE (Kind=") + base_.CvtSQL(Variant(Kind_), kSqlInt) +
                                 QStringLiteral(") AND ReportName=");
            Recordset rs = Database_->openRecordset(head + base_.CvtSQL(Variant(ReportName_), kSqlText) +
                                                    QStringLiteral(" ORDER BY Kind"));
            if (rs.bof() || rs.eof())
                rs = Database_->openRecordset(head + QStringLiteral("'") + kDefaultReportName +
                                              QStringLiteral("' ORDER BY Kind"));
            else
                PrintOrientation = -1;   // a report's own row keeps its own orientation
            QString name, port;
            int16_t bin = 0, size = 0, orientation = 0;
            if (rs.bof() || rs.eof()) {
                base_.MsgBoxBeep(ReportName_ + QStringLiteral("のプリンタ設定データが見つかりません。") + QStringLiteral("\r\n") +
                                     QStringLiteral("標準のプリンタを使用します。"),
                                 vbCritical, QStringLiteral("印刷確認"));
            } else {
                bin = base_.CvtInt(rs.field(QStringLiteral("PaperBin")));
                size = base_.CvtInt(rs.field(QStringLiteral("PaperSize")));
                const int16_t direct = base_.CvtInt(rs.field(QStringLiteral("PaperDirect")));
                printMode = base_.CvtInt(rs.field(QStringLiteral("PrintMode")));
                orientation = PrintOrientation == -1 ? direct : int16_t(PrintOrientation);
                const int16_t flag = system_.IsWindowsNT() ? 1 : 2;
                name = base_.CvtStr(rs.field(PrinterNameColumn(flag)));
                port = base_.CvtStr(rs.field(PrinterPortColumn(flag)));
            }
            areport_.SetPrinterParam(*ActiveReport_, Variant(name), Variant(port), bin, size, orientation);
        }
        ActiveReport_->setCaption(ReportName_);
        ActiveReport_->setDocumentName(ReportName_);
        if (NoDialog) {
            result = 2;
        } else {
            dialog = std::make_unique<fDlgPrint>();
            dialog->setDialogTitle(ReportName_ + QStringLiteral(" 印刷確認"));
            dialog->setDialogPrompt(QStringLiteral("「") + ReportName_ + QStringLiteral("」を印刷します。"));
            dialog->setDialogSubPrompt(Message_);
            dialog->setDialogStyle(dialogStyleOf(printMode));
            result = dialog->DialogShow();
        }
        if (result == 2) {
            ActiveReport_->Restart();
            ActiveReport_->PrintReport(false);
        } else if (result == 4) {
            ActiveReport_->Restart();
            ActiveReport_->Show(1);
        }
    } catch (const std::exception& e) {
        MsgBox(DescribeError(e), vbCritical, QStringLiteral("PrintDialog"));
    }
    if (ActiveReport_)
        ActiveReport_->unload();
    ActiveReport_ = nullptr;
    if (dialog)
        dialog->unload();
    return result;
}
