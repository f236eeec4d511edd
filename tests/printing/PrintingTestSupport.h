#pragma once
// Shared by the printing and screen-print tests: printers of the test's own (jobs become PDF
// files in a temporary folder, the set-up dialog answers from a script), the working database
// of a fresh program folder with the shipped INI file and line colours, and small drivers for
// modal windows and the preview.
#include "foundation/Globals.h"
#include "foundation/cApl.h"
#include "foundation/cDao.h"
#include "platform/core/Registry.h"
#include "platform/gui/Form.h"
#include "platform/gui/Handler.h"
#include "platform/gui/Report.h"
#include "platform/gui/ReportPrinter.h"
#include "tests/platform_gui/GuiTestUtil.h"
#include "tests/support/ScopedRegistry.h"
#include "tests/support/DbFixture.h"
#include "tests/support/ScriptedMsgBox.h"
#include "tests/support/Press.h"
#include "ui/LineButton.h"

#include <optional>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <sqlite3.h>

// Printers that spool nothing: a job is a PDF file in a folder of the test.
class FakePrinterSystem : public PrinterSystem {
public:
    std::vector<PrinterDeviceInfo> devices;
    QString defaultName;
    QString outputDir;
    std::vector<PrintSettings> printersMade;    // every job and preview printer, in order
    std::vector<QString> files;                 // the PDF file of each
    std::function<bool(PrintSettings&)> setupAnswer;   // the set-up dialog; none: cancelled
    int setupShown = 0;

    QStringList printerNames() const override
    {
        QStringList names;
        for (const auto& d : devices)
            names << d.name;
        return names;
    }
    QString defaultPrinterName() const override { return defaultName; }
    std::optional<PrinterDeviceInfo> device(const QString& name) const override
    {
        for (const auto& d : devices)
            if (d.name == name)
                return d;
        return std::nullopt;
    }
    std::unique_ptr<QPrinter> makePrinter(const PrintSettings& s) override
    {
        if (devices.empty())
            throw VbError(482, QStringLiteral("使用できるプリンタがありません。"));
        auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
        p->setOutputFormat(QPrinter::PdfFormat);
        const QString file = outputDir + QStringLiteral("/job%1.pdf").arg(printersMade.size() + 1);
        p->setOutputFileName(file);
        ApplyPrintSettings(*p, s);
        printersMade.push_back(s);
        files.push_back(file);
        return p;
    }
    bool setupDialog(QWidget*, PrintSettings& s) override
    {
        ++setupShown;
        return setupAnswer ? setupAnswer(s) : false;
    }
};

// Two printers: an office laser printer (default) and a label printer of twelve paper sizes.
inline std::vector<PrinterDeviceInfo> StandardDevices()
{
    PrinterDeviceInfo laser;
    laser.name = QStringLiteral("Office Laser");
    laser.ports = {QStringLiteral("LPT1:"), QStringLiteral("USB001")};
    laser.paperSizes = {{9, QStringLiteral("A4")}, {8, QStringLiteral("A3")}, {11, QStringLiteral("A5")},
                        {1, QStringLiteral("Letter")}};
    laser.paperBins = {{7, QStringLiteral("自動選択")}, {1, QStringLiteral("上段トレイ")}, {14, QStringLiteral("カセット")}};
    laser.defaultPaperSize = 9;
    laser.defaultPaperBin = 7;
    PrinterDeviceInfo label;
    label.name = QStringLiteral("Label Printer");
    label.ports = {QStringLiteral("COM1:")};
    for (int code = 1; code <= 12; ++code)
        label.paperSizes.push_back({code, QStringLiteral("Size %1").arg(code)});
    label.paperBins = {{4, QStringLiteral("手差し")}};
    label.defaultPaperSize = 1;
    label.defaultPaperBin = 4;
    return {laser, label};
}

// Runs statements on the connected working database.
inline void Sql(const QString& statements)
{
    char* err = nullptr;
    const int rc = sqlite3_exec(SharedConnection(), statements.toUtf8().constData(), nullptr, nullptr, &err);
    const std::string message = err ? err : "";
    sqlite3_free(err);
    ASSERT_EQ(SQLITE_OK, rc) << message;
}

inline Variant Lookup(const QString& field, const QString& where = QString())
{
    return gDao().Lookup(QStringLiteral("M_Printer"), field, where);
}

inline int RowCount() { return Lookup(QStringLiteral("COUNT(*)")).intValue(); }

// Clicks a line button or a push button as the user does.
inline void Click(QWidget* b, std::source_location where = std::source_location::current()) { Press(b, where); }

// A fresh program folder with both databases connected, the shipped INI and line colours, and
// the fake printers installed.
class PrintingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static bool lookSetUp = false;
        if (!lookSetUp)
            SetupGuiPlatform();
        lookSetUp = true;
        const QDir data(QStringLiteral(PANELO2_SCHEMA_DIR "/../data"));
        for (const QString& f : data.entryList(QDir::Files))
            QFile::copy(data.filePath(f), fx_.path(f));
        registry_.emplace(fx_.path(QStringLiteral("HKEY_LOCAL_MACHINE.reg")), fx_.path(QStringLiteral("hkcu.reg")));
        auto fake = std::make_unique<FakePrinterSystem>();
        fake->devices = StandardDevices();
        fake->defaultName = QStringLiteral("Office Laser");
        fake->outputDir = jobs_.path();
        printers = fake.get();
        previous_ = SetPrinterSystem(std::move(fake));
    }
    void TearDown() override
    {
        SetPrinterSystem(std::move(previous_));
        registry_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    DbFixture fx_;
    std::optional<ScopedRegistry> registry_;
    QTemporaryDir jobs_;
    FakePrinterSystem* printers = nullptr;

private:
    std::unique_ptr<PrinterSystem> previous_;
};

// Drives every modal window by its form's name; a window without a handler fails the test.
class ModalScript {
public:
    using Handler = std::function<void(Form&)>;
    ModalScript& on(const QString& formName, Handler handler)
    {
        handlers_.push_back({formName, std::move(handler)});
        return *this;
    }
    int shown(const QString& formName) const
    {
        int n = 0;
        for (const QString& s : shown_)
            n += s == formName;
        return n;
    }

private:
    std::vector<std::pair<QString, Handler>> handlers_;
    QStringList shown_;
    ScopedModalDriver driver_{[this](Form& form) {
        shown_ << form.name();
        for (auto& [name, handler] : handlers_)
            if (name == form.name()) {
                handler(form);
                return;
            }
        ADD_FAILURE() << "unexpected modal window " << form.name().toStdString();
    }};
};

// Drives the report preview for a scope.
class ScopedPreviewDriver {
public:
    explicit ScopedPreviewDriver(ActiveReport::PreviewDriver driver)
        : previous_(ActiveReport::SetPreviewDriver(std::move(driver)))
    {
    }
    ~ScopedPreviewDriver() { ActiveReport::SetPreviewDriver(std::move(previous_)); }

private:
    ActiveReport::PreviewDriver previous_;
};
