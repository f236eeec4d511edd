#include "platform/gui/Report.h"

#include "platform/core/Database.h"
#include "platform/core/MsgBox.h"
#include "platform/gui/Handler.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <algorithm>

namespace {

ActiveReport::PreviewDriver& previewDriver()
{
    static ActiveReport::PreviewDriver d;
    return d;
}

// Hands the preview's close requests to the report first.
class CloseFilter : public QObject {
public:
    CloseFilter(QObject* parent, std::function<bool()> allow) : QObject(parent), allow_(std::move(allow)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::Close && !allow_()) {
            e->ignore();
            return true;
        }
        return QObject::eventFilter(watched, e);
    }

private:
    std::function<bool()> allow_;
};

}  // namespace

// --- controls ---------------------------------------------------------------------------------

void ReportImage::paint(QPainter& p, const QPointF& origin, double s) const
{
    if (picture.isNull() || width <= 0 || height <= 0)
        return;
    const QRectF box(origin.x() + left * s, origin.y() + top * s, width * s, height * s);
    switch (sizeMode) {
    case ddSMStretch:
        p.drawImage(box, picture);
        break;
    case ddSMZoom: {
        QSizeF size = QSizeF(picture.size()).scaled(box.size(), Qt::KeepAspectRatio);
        p.drawImage(QRectF(box.center() - QPointF(size.width() / 2, size.height() / 2), size), picture);
        break;
    }
    default: {   // clipped: the picture at its size at 96 pixels an inch
        p.save();
        p.setClipRect(box);
        const double px = 1440.0 / 96.0 * s;
        p.drawImage(QRectF(box.topLeft(), QSizeF(picture.width() * px, picture.height() * px)), picture);
        p.restore();
        break;
    }
    }
}

void ReportLine::paint(QPainter& p, const QPointF& origin, double s) const
{
    p.drawLine(QPointF(origin.x() + x1 * s, origin.y() + y1 * s), QPointF(origin.x() + x2 * s, origin.y() + y2 * s));
}

// --- page settings ----------------------------------------------------------------------------

namespace {
// Sets one margin of a pair (left and right, or top and bottom) after checking it.
void setMargin(double& margin, double twips, double other, double paper)
{
    if (twips < 0 || twips + other >= paper)
        throw VbError::InvalidPropertyValue();
    margin = twips;
}
}  // namespace

void ReportPageSettings::setLeftMargin(double t) { setMargin(left_, t, right_, printer_.paperWidth()); }
void ReportPageSettings::setRightMargin(double t) { setMargin(right_, t, left_, printer_.paperWidth()); }
void ReportPageSettings::setTopMargin(double t) { setMargin(top_, t, bottom_, printer_.paperHeight()); }
void ReportPageSettings::setBottomMargin(double t) { setMargin(bottom_, t, top_, printer_.paperHeight()); }

// --- the report -------------------------------------------------------------------------------

ActiveReport::ActiveReport(const QString& name) : name_(name) {}

ActiveReport::~ActiveReport()
{
    if (preview_)
        preview_->done(0);
    if (cursorPushed_ && qApp)
        QApplication::restoreOverrideCursor();
}

ActiveReport::PreviewDriver ActiveReport::SetPreviewDriver(PreviewDriver driver)
{
    PreviewDriver previous = std::move(previewDriver());
    previewDriver() = std::move(driver);
    return previous;
}

bool ActiveReport::fire(const char* procedure, const std::function<void()>& handler)
{
    return RunGuarded(name_, QString::fromLatin1(procedure), handler);
}

void ActiveReport::load()
{
    if (loaded_)
        return;
    loaded_ = true;
    printer_ = std::make_unique<ReportPrinter>();
    page_ = std::make_unique<ReportPageSettings>(*printer_);
    design();
    fire("ActiveReport_Initialize", [this] { ActiveReport_Initialize(); });
}

void ActiveReport::unload()
{
    if (!loaded_)
        return;
    closeWindow();
    fire("ActiveReport_Terminate", [this] { ActiveReport_Terminate(); });
    setMousePointer(0);
    loaded_ = false;
    sections_.clear();
    tools_.clear();
    pages_.clear();
    page_.reset();
    printer_.reset();
    caption_.clear();
    documentName_.clear();
    windowState_ = ddWindowNormal;
    zoom_ = 100;
    dataRows_ = 1;
}

void ActiveReport::setMousePointer(int pointer)
{
    mousePointer_ = pointer;
    if (!qApp)
        return;
    if (pointer == 11 && !cursorPushed_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        cursorPushed_ = true;
    } else if (pointer != 11 && cursorPushed_) {
        QApplication::restoreOverrideCursor();
        cursorPushed_ = false;
    }
}

ReportPrinter& ActiveReport::printer()
{
    load();
    return *printer_;
}

ReportPageSettings& ActiveReport::pageSettings()
{
    load();
    return *page_;
}

std::vector<std::unique_ptr<ReportSection>>& ActiveReport::sections()
{
    load();
    return sections_;
}

ReportSection& ActiveReport::section(const QString& name)
{
    for (auto& s : sections())
        if (s->name().compare(name, Qt::CaseInsensitive) == 0)
            return *s;
    throw VbError::SubscriptOutOfRange();
}

std::vector<ReportTool>& ActiveReport::toolbarTools()
{
    load();
    return tools_;
}

ReportSection& ActiveReport::addSection(const QString& name, ReportSectionKind kind)
{
    sections_.push_back(std::make_unique<ReportSection>(name, kind));
    return *sections_.back();
}

void ActiveReport::Restart()
{
    pages_.clear();
    cancelled_ = false;
}

void ActiveReport::Cancel() { cancelled_ = true; }

void ActiveReport::closeWindow()
{
    if (!preview_)
        return;
    closingByCode_ = true;
    preview_->done(0);
    closingByCode_ = false;
}

// Lays the report out on pages: the page header at the top margin, the detail section once per
// row for as long as it fits above the page footer, the page footer at the bottom margin.
bool ActiveReport::run()
{
    load();
    pages_.clear();
    cancelled_ = false;
    fire("ActiveReport_ReportStart", [this] { ActiveReport_ReportStart(); });
    if (!cancelled_ && dataRows_ <= 0)
        fire("ActiveReport_NoData", [this] { ActiveReport_NoData(); });
    const auto find = [this](ReportSectionKind kind) -> const ReportSection* {
        for (const auto& s : sections_)
            if (s->kind() == kind)
                return s.get();
        return nullptr;
    };
    const ReportSection* header = find(ddPageHeader);
    const ReportSection* detail = find(ddDetail);
    const ReportSection* footer = find(ddPageFooter);
    double y = 0, footerTop = 0;
    int onPage = 0;
    const auto finishPage = [&] {
        if (footer)
            pages_.back().sections.push_back({footer, footerTop});
    };
    const auto newPage = [&] {
        pages_.push_back({});
        fire("ActiveReport_PageStart", [this] { ActiveReport_PageStart(); });
        pages_.back().leftMargin = page_->leftMargin();
        y = page_->topMargin();
        footerTop = printer_->paperHeight() - page_->bottomMargin() - (footer ? footer->height : 0);
        if (header) {
            pages_.back().sections.push_back({header, y});
            y += header->height;
        }
        onPage = 0;
    };
    if (!cancelled_) {
        newPage();
        for (int row = 0; detail && row < dataRows_ && !cancelled_; ++row) {
            if (onPage > 0 && y + detail->height > footerTop) {
                finishPage();
                newPage();
            }
            pages_.back().sections.push_back({detail, y});
            y += detail->height;
            ++onPage;
        }
        finishPage();
    }
    if (!cancelled_)
        fire("ActiveReport_ReportEnd", [this] { ActiveReport_ReportEnd(); });
    if (cancelled_)
        pages_.clear();
    return !cancelled_;
}

void ActiveReport::paintPage(QPainter& p, int page, double dpi) const
{
    const double s = dpi / 1440.0;
    const Page& pg = pages_.at(size_t(page));
    for (const Placed& placed : pg.sections)
        for (const auto& c : placed.section->controls)
            if (c->visible)
                c->paint(p, QPointF(pg.leftMargin * s, placed.top * s), s);
}

void ActiveReport::paintAll(QPrinter* printer) const
{
    QPainter p;
    if (!p.begin(printer))
        throw VbError(482, QStringLiteral("印刷を開始できません。"));
    for (int i = 0; i < pageCount(); ++i) {
        if (i > 0)
            printer->newPage();
        paintPage(p, i, printer->resolution());
    }
    p.end();
}

QImage ActiveReport::pageImage(int page, double dpi) const
{
    const double s = dpi / 1440.0;
    QImage img(qMax(1, int(printer_->paperWidth() * s)), qMax(1, int(printer_->paperHeight() * s)), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    paintPage(p, page, dpi);
    return img;
}

void ActiveReport::raiseError(const std::exception& e)
{
    int number = 0;
    if (auto* v = dynamic_cast<const VbError*>(&e))
        number = v->number();
    else if (auto* d = dynamic_cast<const DbError*>(&e))
        number = d->number();
    const QString description = DescribeError(e);
    bool cancelDisplay = false;
    fire("ActiveReport_Error", [&] { ActiveReport_Error(number, description, cancelDisplay); });
    if (!cancelDisplay)
        MsgBox(description, vbCritical, caption_);
}

// The printer of a job; a preview without any printer lays its pages out on the paper of a
// PDF printer instead (printing from the preview then writes a file).
std::unique_ptr<QPrinter> ActiveReport::jobPrinter(bool forPreview)
{
    PrintSettings s = printer_->settings();
    s.documentName = documentName_;
    std::unique_ptr<QPrinter> p;
    try {
        p = Printers().makePrinter(s);
    } catch (const VbError&) {
        if (!forPreview || !Printers().printerNames().isEmpty())
            throw;
        p = std::make_unique<QPrinter>(QPrinter::HighResolution);
        p->setOutputFormat(QPrinter::PdfFormat);
        ApplyPrintSettings(*p, s);
    }
    p->setFullPage(true);
    return p;
}

void ActiveReport::PrintReport(bool)
{
    if (!run())
        return;
    try {
        std::unique_ptr<QPrinter> job = jobPrinter(false);
        paintAll(job.get());
    } catch (const std::exception& e) {
        raiseError(e);
    }
}

void ActiveReport::Show(int)
{
    if (!run())
        return;
    try {
        std::unique_ptr<QPrinter> job = jobPrinter(true);
        QPrintPreviewDialog dialog(job.get());
        preview_ = &dialog;
        dialog.setWindowTitle(caption_);
        if (auto* toolbar = dialog.findChild<QToolBar*>()) {
            for (const ReportTool& tool : tools_) {
                QAction* a = toolbar->addAction(tool.caption);
                connect(a, &QAction::triggered, &dialog, [this, tool] {
                    fire("ActiveReport_ToolbarClick", [&] { ActiveReport_ToolbarClick(tool); });
                });
            }
        }
        if (auto* view = dialog.findChild<QPrintPreviewWidget*>()) {
            view->setZoomMode(QPrintPreviewWidget::CustomZoom);
            view->setZoomFactor(zoom_ / 100.0);
        }
        connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [this](QPrinter* printer) {
            try {
                paintAll(printer);
            } catch (const std::exception& e) {
                raiseError(e);
            }
        });
        dialog.installEventFilter(new CloseFilter(&dialog, [this] {
            int cancel = 0;
            const int mode = closingByCode_ ? ddCloseByCode : ddCloseBox;
            fire("ActiveReport_QueryClose", [&] { ActiveReport_QueryClose(cancel, mode); });
            return cancel == 0;
        }));
        if (windowState_ == ddWindowMaximized)
            dialog.setWindowState(Qt::WindowMaximized);
        if (previewDriver()) {
            PreviewDriver driver = previewDriver();
            dialog.show();
            driver(*this, dialog);
            if (dialog.isVisible())
                closeWindow();
        } else {
            dialog.exec();
        }
        preview_ = nullptr;
    } catch (const std::exception& e) {
        preview_ = nullptr;
        raiseError(e);
    }
}
