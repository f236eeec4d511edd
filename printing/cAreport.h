#pragma once
// The report support class: fills combo boxes with the installed printers and with the ports,
// paper sizes (item data: the DMPAPER code, the user-defined size 256 last) and bins (item data:
// the DMBIN code) of one printer, and pushes a stored printer setting into a report's printer.
// The lists come from a throw-away printer object of the report engine. A filled box has no
// entry chosen. Errors show the error's text titled with the procedure's name.
#include "foundation/cSystem.h"
#include "platform/core/Variant.h"

#include <cstdint>

class ActiveReport;
class QComboBox;

class cAreport {
public:
    int16_t SetPrinterCombo(QComboBox* box);                       // printers listed; -1 on error
    // -1 without a printer name (empty, Null or ""), else the ports listed; -1 on error.
    int16_t SetPortCombo(QComboBox* box, const Variant& printerName = Variant());
    // -1 without a printer name, else the printer's sizes + 1; -1 on error.
    int16_t SetPaperSizeCombo(QComboBox* box, const Variant& printerName = Variant());
    // 0 without a printer name, else the bins listed; -1 on error.
    int16_t SetPaperBinCombo(QComboBox* box, const Variant& printerName = Variant());

    // Printer, port (not on the NT family), bin, size and orientation into the report's
    // printer; empty and 0 values leave the printer's own. A step that fails shows its error
    // titled "SetPrinterParam" and the next runs. Always true.
    bool SetPrinterParam(ActiveReport& report, const Variant& printerName, const Variant& printerPort,
                         int32_t paperBin, int32_t paperSize, int32_t orientation);

private:
    cSystem system_;
};
