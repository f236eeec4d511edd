#pragma once
// The printer object of the report engine and the printers it reaches.
//
// Codes are those the Windows printer drivers use: paper sizes are DMPAPER codes (9 A4,
// 256 a user-defined size), bins DMBIN codes (1 upper, 7 automatic, 14 cassette), orientation
// 1 portrait or 2 landscape. Qt's page sizes carry their DMPAPER code (QPageSize::windowsId),
// so a code maps to a QPageSize wherever Qt knows one; bins map to QPrinter::PaperSource.
//
// The printers come from a PrinterSystem: by default Qt's (CUPS through QPrinterInfo), which
// tests replace with printers of their own so that nothing is spooled and no dialog opens.
#include <QImage>
#include <QPageSize>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

class QPrinter;
class QWidget;

struct PaperSizeEntry {
    int code = 0;          // DMPAPER
    QString name;          // the driver's own wording
};
struct PaperBinEntry {
    int code = 0;          // DMBIN
    QString name;
};

// What a printer offers.
struct PrinterDeviceInfo {
    QString name;
    QStringList ports;
    std::vector<PaperSizeEntry> paperSizes;
    std::vector<PaperBinEntry> paperBins;
    int defaultPaperSize = 9;
    int defaultPaperBin = 7;
};

// The settings a report is printed with.
struct PrintSettings {
    QString deviceName;    // "" the system's default printer
    QString port;
    int paperSize = 9;
    int paperBin = 7;
    int orientation = 1;
    QString documentName;  // the print job's name
};

class PrinterSystem {
public:
    virtual ~PrinterSystem() = default;
    virtual QStringList printerNames() const = 0;            // installed printers (may be none)
    virtual QString defaultPrinterName() const = 0;          // "" when there is none
    virtual std::optional<PrinterDeviceInfo> device(const QString& name) const = 0;
    // A printer set up for a job with these settings; a report paints its pages on it (a job
    // starts when painting begins). Throws VbError when there is no printer to print on.
    virtual std::unique_ptr<QPrinter> makePrinter(const PrintSettings& settings) = 0;
    // The printer set-up dialog over the settings; true when the user confirms them.
    virtual bool setupDialog(QWidget* owner, PrintSettings& settings) = 0;
};

// The printer system in use; SetPrinterSystem returns the previous one, nullptr restores Qt's.
PrinterSystem& Printers();
std::unique_ptr<PrinterSystem> SetPrinterSystem(std::unique_ptr<PrinterSystem> system);
// Qt's printer system (what the program uses).
std::unique_ptr<PrinterSystem> MakeQtPrinterSystem();

// The page size of a DMPAPER code; nothing for a code Qt has no size for (0, 256, unknown).
std::optional<QPageSize> PageSizeOfCode(int code);
// The DMPAPER code of a page size; 256 for a size without one.
int CodeOfPageSize(const QPageSize& size);
// QPrinter::PaperSource of a DMBIN code (as int); -1 for a code without one. And back: 7 (auto)
// for a source without a code.
int PaperSourceOfBin(int bin);
int BinOfPaperSource(int source);
// Gives a printer the settings' job name, page size, orientation and paper source.
void ApplyPrintSettings(QPrinter& printer, const PrintSettings& settings);

// The report's printer: the device and the settings a report is printed with. Errors are
// VbErrors (a device that is not installed, a code the printer cannot take).
class ReportPrinter {
public:
    ReportPrinter();                                  // the system's default printer

    QString deviceName() const { return s_.deviceName; }
    void setDeviceName(const QString& name);          // its ports, default size and bin come with it
    int deviceCount() const;                          // installed printers
    QString deviceNameAt(int index) const;

    int portCount() const;                            // ports of the current device
    QString portName(int index) const;
    QString port() const { return s_.port; }
    void setPort(const QString& port) { s_.port = port; }

    int paperSize() const { return s_.paperSize; }
    void setPaperSize(int code);                      // 380 for a code with no page size
    int paperBin() const { return s_.paperBin; }
    void setPaperBin(int code);                       // 380 for a code below 1
    int orientation() const { return s_.orientation; }
    void setOrientation(int orientation);             // 1 or 2, else 380

    std::vector<PaperSizeEntry> paperSizes() const;   // of the current device
    std::vector<PaperBinEntry> paperBins() const;

    // The set-up dialog; true when the user confirmed (device, port, size, bin, orientation
    // then hold the choice).
    bool setup(QWidget* owner);

    // The paper in the current orientation, in twips.
    double paperWidth() const;
    double paperHeight() const;

    const PrintSettings& settings() const { return s_; }
    void setDocumentName(const QString& name) { s_.documentName = name; }

private:
    std::optional<PrinterDeviceInfo> info() const;
    PrintSettings s_;
};
