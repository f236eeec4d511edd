#pragma once
// The print front end: prints one report with the printer setting M_Printer keeps for the
// report's name (else the default row "(標準プリンタ設定)"), after the confirmation dialog.
//
//   cPrinter p;  p.setReportName("画面印刷");  p.setActiveReport(&report);  p.PrintOrientation = 2;
//   p.setKind(1);  p.setDatabase(gDao().CurrentDB());  bool noDialog = false;  p.PrintDialog(noDialog);
//
// PrintDialog returns 1 when nothing was printed, 2 when the report went to the printer, 4 when
// it was previewed; the report is unloaded in every case. One instance serves one call.
#include "foundation/cBase.h"
#include "foundation/cSystem.h"
#include "printing/cAreport.h"

#include <QString>
#include <cstdint>

class ActiveReport;
class Database;

class cPrinter {
public:
    cPrinter();
    ~cPrinter();
    cPrinter(const cPrinter&) = delete;
    cPrinter& operator=(const cPrinter&) = delete;

    int32_t PrintOrientation = -1;   // 1 portrait, 2 landscape, -1 the setting's own

    void setReportName(const QString& name) { ReportName_ = name; }
    void setReportPath(const QString& path);          // kept only; "" the program's folder
    void setActiveReport(ActiveReport* report) { ActiveReport_ = report; }
    void setDatabase(Database* database) { Database_ = database; }
    void setDialogStyle(int32_t style) { DialogStyle_ = style; }   // kept only
    void setMessage(const QString& message) { Message_ = message; }
    void setKind(int16_t kind) { Kind_ = kind; }
    void setLocalDatabase(const QString& path) { LocalDatabase_ = path; }   // kept only
    void setUsePrintTable(bool use) { UsePrintTable_ = use; }

    int32_t PrintDialog(bool& NoDialog);

private:
    cAreport areport_;
    cBase base_;
    cSystem system_;
    QString ReportName_;
    QString ReportPath_;
    ActiveReport* ActiveReport_ = nullptr;
    Database* Database_ = nullptr;
    int32_t DialogStyle_ = 7;
    QString Message_;
    int16_t Kind_ = 1;
    QString LocalDatabase_;
    bool UsePrintTable_ = true;
};
