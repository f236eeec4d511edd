#pragma once
// The report page of the screen prints: a page header and a page footer of no height around
// the detail section (10000 twips high), which holds the one image control Image1. Its preview
// opens maximised at 100 % with a "閉じる" tool; engine errors and a run without data end the
// run with a message titled with the report's caption; every page is centred across the paper.
#include "foundation/cBase.h"
#include "platform/gui/Report.h"

#include <memory>

class Report : public ActiveReport {
    Q_OBJECT
public:
    Report();
    ReportImage& Image1();   // loads the report when it is not loaded

protected:
    void design() override;
    void ActiveReport_Initialize() override;
    void ActiveReport_Terminate() override;
    void ActiveReport_ToolbarClick(const ReportTool& tool) override;
    void ActiveReport_Error(int number, const QString& description, bool& cancelDisplay) override;
    void ActiveReport_NoData() override;
    void ActiveReport_QueryClose(int& cancel, int closeMode) override;
    void ActiveReport_PageStart() override;
    void ActiveReport_ReportStart() override;
    void ActiveReport_ReportEnd() override;

private:
    void CenterReport();
    std::unique_ptr<cBase> base_;
};

// The one report page of the program.
Report& gReport();
