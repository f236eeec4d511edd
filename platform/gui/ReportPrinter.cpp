#include "platform/gui/ReportPrinter.h"

#include "platform/gui/Handler.h"

#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <array>
#include <utility>

namespace {

// DMBIN codes and Qt's paper sources, as Qt's Windows printing maps them.
constexpr std::array<std::pair<int, QPrinter::PaperSource>, 13> kBins = {{
    {1, QPrinter::OnlyOne}, {2, QPrinter::Lower}, {3, QPrinter::Middle}, {4, QPrinter::Manual},
    {5, QPrinter::Envelope}, {6, QPrinter::EnvelopeManual}, {7, QPrinter::Auto}, {8, QPrinter::Tractor},
    {9, QPrinter::SmallFormat}, {10, QPrinter::LargeFormat}, {11, QPrinter::LargeCapacity},
    {14, QPrinter::Cassette}, {15, QPrinter::FormSource},
}};

constexpr int kDefaultPaper = 9;   // A4, the paper of a machine without printers
constexpr int kAutoBin = 7;

VbError noPrinter() { return VbError(482, QStringLiteral("使用できるプリンタがありません。")); }

// CUPS printers through QPrinterInfo. CUPS has no printer ports, and Qt does not list a
// printer's input slots outside Windows: every printer offers the automatic bin alone.
class QtPrinterSystem : public PrinterSystem {
public:
    QStringList printerNames() const override { return QPrinterInfo::availablePrinterNames(); }
    QString defaultPrinterName() const override { return QPrinterInfo::defaultPrinterName(); }

    std::optional<PrinterDeviceInfo> device(const QString& name) const override
    {
        const QPrinterInfo qi = QPrinterInfo::printerInfo(name);
        if (qi.isNull())
            return std::nullopt;
        PrinterDeviceInfo d;
        d.name = qi.printerName();
        for (const QPageSize& size : qi.supportedPageSizes()) {
            const int code = size.windowsId();
            bool known = code <= 0;   // a size without a code cannot be stored
            for (const PaperSizeEntry& e : d.paperSizes)
                known = known || e.code == code;
            if (!known)
                d.paperSizes.push_back({code, size.name()});
        }
        d.defaultPaperSize = qi.defaultPageSize().windowsId() > 0 ? qi.defaultPageSize().windowsId() : kDefaultPaper;
        d.paperBins.push_back({kAutoBin, QStringLiteral("自動")});
        d.defaultPaperBin = kAutoBin;
        return d;
    }

    std::unique_ptr<QPrinter> makePrinter(const PrintSettings& s) override
    {
        const QString name = s.deviceName.isEmpty() ? defaultPrinterName() : s.deviceName;
        const QPrinterInfo qi = QPrinterInfo::printerInfo(name);
        if (name.isEmpty() || qi.isNull())
            throw noPrinter();
        auto printer = std::make_unique<QPrinter>(qi, QPrinter::HighResolution);
        ApplyPrintSettings(*printer, s);
        return printer;
    }

    bool setupDialog(QWidget* owner, PrintSettings& s) override
    {
        const QString name = s.deviceName.isEmpty() ? defaultPrinterName() : s.deviceName;
        QPrinter printer(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
        ApplyPrintSettings(printer, s);
        QPrintDialog dialog(&printer, owner);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        if (printer.printerName() != s.deviceName) {
            s.deviceName = printer.printerName();
            s.port.clear();
        }
        s.paperSize = CodeOfPageSize(printer.pageLayout().pageSize());
        s.orientation = printer.pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1;
        s.paperBin = BinOfPaperSource(printer.paperSource());
        return true;
    }
};

std::unique_ptr<PrinterSystem>& current()
{
    static std::unique_ptr<PrinterSystem> system;
    return system;
}

}  // namespace

std::unique_ptr<PrinterSystem> MakeQtPrinterSystem() { return std::make_unique<QtPrinterSystem>(); }

PrinterSystem& Printers()
{
    if (!current())
        current() = MakeQtPrinterSystem();
    return *current();
}

std::unique_ptr<PrinterSystem> SetPrinterSystem(std::unique_ptr<PrinterSystem> system)
{
    std::unique_ptr<PrinterSystem> previous = std::move(current());
    current() = std::move(system);
    return previous;
}

std::optional<QPageSize> PageSizeOfCode(int code)
{
    if (code <= 0 || code == 256)
        return std::nullopt;
    const QPageSize::PageSizeId id = QPageSize::id(code);
    if (id == QPageSize::Custom)
        return std::nullopt;
    return QPageSize(id);
}

int CodeOfPageSize(const QPageSize& size)
{
    const int code = size.windowsId();
    return code > 0 ? code : 256;
}

int PaperSourceOfBin(int bin)
{
    for (const auto& [code, source] : kBins)
        if (code == bin)
            return int(source);
    return -1;
}

void ApplyPrintSettings(QPrinter& printer, const PrintSettings& s)
{
    printer.setDocName(s.documentName);
    if (const auto size = PageSizeOfCode(s.paperSize))
        printer.setPageSize(*size);
    printer.setPageOrientation(s.orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (const int source = PaperSourceOfBin(s.paperBin); source >= 0)
        printer.setPaperSource(QPrinter::PaperSource(source));
}

int BinOfPaperSource(int source)
{
    for (const auto& [code, s] : kBins)
        if (int(s) == source)
            return code;
    return kAutoBin;
}

// --- ReportPrinter ----------------------------------------------------------------------------

ReportPrinter::ReportPrinter()
{
    s_.paperSize = kDefaultPaper;
    s_.paperBin = kAutoBin;
    const QString name = Printers().defaultPrinterName();
    if (!name.isEmpty())
        setDeviceName(name);
}

std::optional<PrinterDeviceInfo> ReportPrinter::info() const
{
    if (s_.deviceName.isEmpty())
        return std::nullopt;
    return Printers().device(s_.deviceName);
}

void ReportPrinter::setDeviceName(const QString& name)
{
    const std::optional<PrinterDeviceInfo> d = Printers().device(name);
    if (!d || !Printers().printerNames().contains(name))
        throw VbError(482, QStringLiteral("プリンタ \"") + name + QStringLiteral("\" が見つかりません。"));
    s_.deviceName = name;
    s_.port = d->ports.isEmpty() ? QString() : d->ports.front();
    s_.paperSize = d->defaultPaperSize;
    s_.paperBin = d->defaultPaperBin;
}

int ReportPrinter::deviceCount() const { return int(Printers().printerNames().size()); }

QString ReportPrinter::deviceNameAt(int index) const
{
    const QStringList names = Printers().printerNames();
    if (index < 0 || index >= names.size())
        throw VbError::SubscriptOutOfRange();
    return names.at(index);
}

int ReportPrinter::portCount() const
{
    const auto d = info();
    return d ? int(d->ports.size()) : 0;
}

QString ReportPrinter::portName(int index) const
{
    const auto d = info();
    if (!d || index < 0 || index >= d->ports.size())
        throw VbError::SubscriptOutOfRange();
    return d->ports.at(index);
}

void ReportPrinter::setPaperSize(int code)
{
    if (code != 256 && !PageSizeOfCode(code))
        throw VbError::InvalidPropertyValue();
    s_.paperSize = code;
}

void ReportPrinter::setPaperBin(int code)
{
    if (code < 1)
        throw VbError::InvalidPropertyValue();
    s_.paperBin = code;
}

void ReportPrinter::setOrientation(int orientation)
{
    if (orientation != 1 && orientation != 2)
        throw VbError::InvalidPropertyValue();
    s_.orientation = orientation;
}

std::vector<PaperSizeEntry> ReportPrinter::paperSizes() const
{
    const auto d = info();
    return d ? d->paperSizes : std::vector<PaperSizeEntry>{};
}

std::vector<PaperBinEntry> ReportPrinter::paperBins() const
{
    const auto d = info();
    return d ? d->paperBins : std::vector<PaperBinEntry>{};
}

bool ReportPrinter::setup(QWidget* owner)
{
    PrintSettings s = s_;
    if (!Printers().setupDialog(owner, s))
        return false;
    s_ = s;
    return true;
}

namespace {
// The paper of a code in points; A4 for a code without a page size.
QSizeF paperPoints(int code) { return PageSizeOfCode(code).value_or(QPageSize(QPageSize::A4)).size(QPageSize::Point); }
}  // namespace

double ReportPrinter::paperWidth() const
{
    const QSizeF pt = paperPoints(s_.paperSize);
    return (s_.orientation == 2 ? pt.height() : pt.width()) * 20.0;
}

double ReportPrinter::paperHeight() const
{
    const QSizeF pt = paperPoints(s_.paperSize);
    return (s_.orientation == 2 ? pt.width() : pt.height()) * 20.0;
}
