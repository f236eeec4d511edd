#pragma once
// The report engine (ActiveReport): a report of sections (page header, detail, page footer)
// holding controls placed in twips, page settings with margins, its printer, tools added to the
// preview's toolbar, the report's events as virtual handlers, printing on its printer and a
// modal preview (Qt's print preview dialog).
//
// A report without a data source runs its detail section once (dataRowCount 1); with no rows
// it raises NoData. A run raises ReportStart, PageStart for every page and ReportEnd; a handler
// may Cancel the run. Errors while printing raise the Error event; unless its handler sets
// cancelDisplay, the engine shows the error itself.
//
// The design (sections and controls) is built when the report loads, and dropped when it
// unloads; using an unloaded report loads it again, as a fresh one.
#include "platform/gui/ReportPrinter.h"

#include <QImage>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include <QDialog>
class QPainter;
class QPrinter;

enum ReportSizeMode { ddSMClip = 0, ddSMStretch = 1, ddSMZoom = 2 };
enum ReportWindowState { ddWindowNormal = 0, ddWindowMaximized = 2 };
enum ReportCloseMode { ddCloseBox = 0, ddCloseByCode = 1 };

class ReportControl {
public:
    explicit ReportControl(const QString& name) : name_(name) {}
    virtual ~ReportControl() = default;
    const QString& name() const { return name_; }
    virtual QString typeName() const = 0;     // "Image", "Line"

    double left = 0, top = 0, width = 0, height = 0;   // twips, within the section
    bool visible = true;

    // Paints the control; origin is the section's top-left corner in device units.
    virtual void paint(QPainter& painter, const QPointF& origin, double devicePerTwip) const = 0;

private:
    QString name_;
};

class ReportImage : public ReportControl {
public:
    using ReportControl::ReportControl;
    QString typeName() const override { return QStringLiteral("Image"); }
    void paint(QPainter& painter, const QPointF& origin, double devicePerTwip) const override;

    QImage picture;
    int sizeMode = ddSMClip;   // clip at the control, stretch over it, or zoom keeping the aspect
};

class ReportLine : public ReportControl {
public:
    using ReportControl::ReportControl;
    QString typeName() const override { return QStringLiteral("Line"); }
    void paint(QPainter& painter, const QPointF& origin, double devicePerTwip) const override;

    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;   // twips, within the section
};

enum ReportSectionKind { ddPageHeader, ddDetail, ddPageFooter };

class ReportSection {
public:
    ReportSection(const QString& name, ReportSectionKind kind) : name_(name), kind_(kind) {}
    const QString& name() const { return name_; }
    ReportSectionKind kind() const { return kind_; }

    double height = 0;                                   // twips
    std::vector<std::unique_ptr<ReportControl>> controls;

    template <typename T>
    T& add(const QString& name)
    {
        controls.push_back(std::make_unique<T>(name));
        return static_cast<T&>(*controls.back());
    }

private:
    QString name_;
    ReportSectionKind kind_;
};

// Margins in twips. A margin below 0, or margins that leave no width of the paper, are refused
// (VbError 380) and keep their previous value.
class ReportPageSettings {
public:
    explicit ReportPageSettings(const ReportPrinter& printer) : printer_(printer) {}
    double leftMargin() const { return left_; }
    double rightMargin() const { return right_; }
    double topMargin() const { return top_; }
    double bottomMargin() const { return bottom_; }
    void setLeftMargin(double twips);
    void setRightMargin(double twips);
    void setTopMargin(double twips);
    void setBottomMargin(double twips);

private:
    const ReportPrinter& printer_;
    double left_ = 1440, right_ = 1440, top_ = 1440, bottom_ = 1440;
};

struct ReportTool {
    QString caption;
    int style = 0;
};

class ActiveReport : public QObject {
    Q_OBJECT
public:
    explicit ActiveReport(const QString& name);
    ~ActiveReport() override;
    const QString& name() const { return name_; }   // the module name of its error-log lines

    void load();
    bool isLoaded() const { return loaded_; }
    void unload();

    QString caption() const { return caption_; }
    void setCaption(const QString& caption) { caption_ = caption; }
    QString documentName() const { return documentName_; }   // the print job's name
    void setDocumentName(const QString& name) { documentName_ = name; }
    int windowState() const { return windowState_; }
    void setWindowState(int state) { windowState_ = state; }
    int zoom() const { return zoom_; }                          // percent
    void setZoom(int percent) { zoom_ = percent; }
    int mousePointer() const { return mousePointer_; }
    void setMousePointer(int pointer);                          // 0 default, 11 hourglass
    int dataRowCount() const { return dataRows_; }
    void setDataRowCount(int rows) { dataRows_ = rows; }

    // These load the report when it is not loaded.
    ReportPrinter& printer();
    ReportPageSettings& pageSettings();
    std::vector<std::unique_ptr<ReportSection>>& sections();
    ReportSection& section(const QString& name);                // VbError 9 for none
    std::vector<ReportTool>& toolbarTools();

    void Restart();                     // drops the pages of the last run
    void PrintReport(bool showDialog);  // runs the report and prints it on its printer
    void Show(int modal);               // runs the report and shows it in the preview, modally
    void Cancel();                      // ends the run in progress
    void closeWindow();                 // closes the preview
    QDialog* previewWindow() const { return preview_; }

    int pageCount() const { return int(pages_.size()); }       // pages of the last run
    QImage pageImage(int page, double dpi) const;               // a page on white paper

    // Tests drive the preview: the driver runs once it is shown (instead of an event loop); a
    // preview the driver leaves open is closed. Returns the previous driver.
    using PreviewDriver = std::function<void(ActiveReport&, QDialog& preview)>;
    static PreviewDriver SetPreviewDriver(PreviewDriver driver);

protected:
    // Builds the design state: sections, controls, page settings, tools.
    virtual void design() = 0;
    ReportSection& addSection(const QString& name, ReportSectionKind kind);

    virtual void ActiveReport_Initialize() {}
    virtual void ActiveReport_Terminate() {}
    virtual void ActiveReport_ToolbarClick(const ReportTool& tool) {}
    virtual void ActiveReport_Error(int number, const QString& description, bool& cancelDisplay) {}
    virtual void ActiveReport_NoData() {}
    virtual void ActiveReport_QueryClose(int& cancel, int closeMode) {}
    virtual void ActiveReport_PageStart() {}
    virtual void ActiveReport_ReportStart() {}
    virtual void ActiveReport_ReportEnd() {}

private:
    struct Placed {
        const ReportSection* section;
        double top;
    };
    struct Page {
        double leftMargin = 0;
        std::vector<Placed> sections;
    };

    bool run();
    void paintPage(QPainter& painter, int page, double dpi) const;
    void paintAll(QPrinter* printer) const;
    void raiseError(const std::exception& e);
    std::unique_ptr<QPrinter> jobPrinter(bool forPreview);
    bool fire(const char* procedure, const std::function<void()>& handler);

    QString name_;
    bool loaded_ = false;
    QString caption_, documentName_;
    int windowState_ = ddWindowNormal;
    int zoom_ = 100;
    int mousePointer_ = 0;
    bool cursorPushed_ = false;
    int dataRows_ = 1;
    std::unique_ptr<ReportPrinter> printer_;
    std::unique_ptr<ReportPageSettings> page_;
    std::vector<std::unique_ptr<ReportSection>> sections_;
    std::vector<ReportTool> tools_;
    std::vector<Page> pages_;
    bool cancelled_ = false;
    QPointer<QDialog> preview_;
    bool closingByCode_ = false;
};
