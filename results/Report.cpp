#include "results/Report.h"

#include "platform/core/MsgBox.h"
#include "platform/gui/Handler.h"

#include <cmath>

namespace {
const QString kClose = QStringLiteral("閉じる");
}

Report::Report() : ActiveReport(QStringLiteral("Report")) {}

Report& gReport()
{
    static Report* report = new Report;   // lives as long as the program
    return *report;
}

ReportImage& Report::Image1() { return static_cast<ReportImage&>(*section(QStringLiteral("Detail")).controls.at(0)); }

void Report::design()
{
    addSection(QStringLiteral("PageHeader"), ddPageHeader).height = 0;
    ReportSection& detail = addSection(QStringLiteral("Detail"), ddDetail);
    detail.height = 10000;
    ReportImage& image = detail.add<ReportImage>(QStringLiteral("Image1"));
    image.width = 13333;
    image.height = 10000;
    addSection(QStringLiteral("PageFooter"), ddPageFooter).height = 0;
    // Half-inch top and bottom margins: the 10000-twip detail fits a landscape A4 or letter page.
    pageSettings().setTopMargin(720);
    pageSettings().setBottomMargin(720);
}

void Report::ActiveReport_Initialize()
{
    base_ = std::make_unique<cBase>();
    setWindowState(ddWindowMaximized);
    setZoom(100);
    toolbarTools().push_back({kClose, 0});
}

void Report::ActiveReport_Terminate() { base_.reset(); }

void Report::ActiveReport_ToolbarClick(const ReportTool& tool)
{
    if (tool.caption == kClose)
        closeWindow();
}

void Report::ActiveReport_Error(int number, const QString& description, bool& cancelDisplay)
{
    setMousePointer(0);
    MsgBox(QStringLiteral("[Error:") + base_->CvtStr(Variant(int32_t(number))) + QStringLiteral("]  ") +
               base_->CvtStr(Variant(description)),
           vbCritical, caption());
    cancelDisplay = true;
    Cancel();
    if (windowState() == ddWindowMaximized)
        closeWindow();
}

void Report::ActiveReport_NoData()
{
    setMousePointer(0);
    MsgBox(QStringLiteral("印刷データがありません。"), vbInformation, caption());
    Cancel();
    if (windowState() == ddWindowMaximized)
        closeWindow();
}

void Report::ActiveReport_QueryClose(int& cancel, int closeMode)
{
    if (closeMode != ddCloseBox)
        return;
    closeWindow();
    cancel = 1;
}

void Report::ActiveReport_PageStart() { CenterReport(); }

void Report::ActiveReport_ReportStart()
{
    setMousePointer(11);
    CenterReport();
}

void Report::ActiveReport_ReportEnd() { setMousePointer(0); }

// Centres the page across the paper: the free width right of the rightmost control is split
// into the left margin, the right margin becomes 0.
void Report::CenterReport()
{
    double rightmost = 0;
    for (const auto& s : sections())
        for (const auto& c : s->controls) {
            try {
                double right = 0;
                if (c->typeName() == QLatin1String("Line")) {
                    const auto& line = static_cast<const ReportLine&>(*c);
                    right = line.x1 < line.x2 ? line.x2 : line.x1;
                } else {
                    right = c->left + c->width;
                }
                if (right > rightmost)
                    rightmost = right;
            } catch (const std::exception&) {
            }
        }
    const int32_t free = int32_t(std::nearbyint(printer().paperWidth() - rightmost));
    if (free <= 0)
        return;
    bool refused = false;
    try {
        pageSettings().setLeftMargin(free / 2.0);
    } catch (const std::exception&) {
        refused = true;
    }
    try {
        pageSettings().setRightMargin(0);
    } catch (const std::exception&) {
        refused = true;
    }
    if (refused)
        MsgBox(QStringLiteral("帳票ﾚｲｱｳﾄが小さいためﾏｰｼﾞﾝを設定できません。") + QStringLiteral("\r\n") +
                   QStringLiteral("既定のﾏｰｼﾞﾝに設定します。"),
               vbOKOnly);
}
