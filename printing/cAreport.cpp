#include "printing/cAreport.h"

#include "foundation/cBase.h"
#include "platform/core/MsgBox.h"
#include "platform/gui/Handler.h"
#include "platform/gui/Report.h"
#include "platform/gui/ReportPrinter.h"

#include <QComboBox>
#include <functional>

namespace {

bool isGiven(const Variant& v) { return !v.isEmpty() && !v.isNull() && !(v.isString() && v.stringValue().isEmpty()); }

// The list fillers' shape: the box emptied and not repainted while it fills, a throw-away
// printer switched to the named printer, the list, the box shown again with no entry chosen.
int16_t fill(QComboBox* box, const char* procedure, bool needsName, const Variant& printerName, int16_t withoutName,
             const std::function<int16_t(ReportPrinter&)>& list)
{
    box->clear();
    box->setUpdatesEnabled(false);
    int16_t result = -1;
    try {
        ReportPrinter printer;
        if (needsName && !isGiven(printerName)) {
            result = withoutName;
        } else {
            if (needsName)
                printer.setDeviceName(cBase().CvtStr(printerName));
            result = list(printer);
        }
    } catch (const std::exception& e) {
        MsgBox(DescribeError(e), vbCritical, QString::fromLatin1(procedure));
        result = -1;
    }
    box->setCurrentIndex(-1);
    box->setUpdatesEnabled(true);
    return result;
}

}  // namespace

int16_t cAreport::SetPrinterCombo(QComboBox* box)
{
    return fill(box, "SetPrinterCombo", false, Variant(), 0, [box](ReportPrinter& p) {
        for (int i = 0; i < p.deviceCount(); ++i)
            box->addItem(p.deviceNameAt(i));
        return int16_t(box->count());
    });
}

int16_t cAreport::SetPortCombo(QComboBox* box, const Variant& printerName)
{
    return fill(box, "SetPortCombo", true, printerName, -1, [box](ReportPrinter& p) {
        for (int i = 0; i < p.portCount(); ++i)
            box->addItem(p.portName(i));
        return int16_t(box->count());
    });
}

int16_t cAreport::SetPaperSizeCombo(QComboBox* box, const Variant& printerName)
{
    return fill(box, "SetPaperSizeCombo", true, printerName, -1, [box](ReportPrinter& p) {
        const std::vector<PaperSizeEntry> sizes = p.paperSizes();
        for (const PaperSizeEntry& s : sizes)
            box->addItem(s.name, s.code);
        box->addItem(QStringLiteral("ユーザー定義サイズ"), 256);
        return int16_t(sizes.size() + 1);
    });
}

int16_t cAreport::SetPaperBinCombo(QComboBox* box, const Variant& printerName)
{
    return fill(box, "SetPaperBinCombo", true, printerName, 0, [box](ReportPrinter& p) {
        for (const PaperBinEntry& b : p.paperBins())
            box->addItem(b.name, b.code);
        return int16_t(box->count());
    });
}

bool cAreport::SetPrinterParam(ActiveReport& report, const Variant& printerName, const Variant& printerPort,
                               int32_t paperBin, int32_t paperSize, int32_t orientation)
{
    const cBase base;
    const auto step = [](const std::function<void()>& body) {
        try {
            body();
        } catch (const std::exception& e) {
            MsgBox(DescribeError(e), vbCritical, QStringLiteral("SetPrinterParam"));
        }
    };
    ReportPrinter& printer = report.printer();
    const QString name = base.CvtStr(printerName);
    const QString port = base.CvtStr(printerPort);
    if (!name.isEmpty())
        step([&] { printer.setDeviceName(name); });
    if (!system_.IsWindowsNT() && !port.isEmpty())
        step([&] { printer.setPort(port); });
    if (paperBin != 0)
        step([&] { printer.setPaperBin(int16_t(paperBin)); });
    if (paperSize != 0)
        step([&] { printer.setPaperSize(int16_t(paperSize)); });
    if (orientation != 0)
        step([&] { printer.setOrientation(int16_t(orientation)); });
    return true;
}
