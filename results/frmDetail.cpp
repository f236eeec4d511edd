// The detail window's life: its controls, loading from the hand-over, activation, the layout on
// every resize, closing, the screen print and the export button.
#include "results/frmDetail.h"

#include "engine/Engine.h"
#include "engine/RoundAndContrast.h"
#include "foundation/ErrLog.h"
#include "foundation/Globals.h"
#include "foundation/cApl.h"
#include "foundation/cBase.h"
#include "foundation/gui/cVBForm.h"
#include "platform/gui/Colors.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Handler.h"
#include "platform/gui/ImNumber.h"
#include "platform/gui/Label.h"
#include "platform/gui/TDBGrid.h"
#include "results/DetailSurface.h"
#include "results/DetailTable.h"
#include "results/HandOver.h"
#include "results/PartExport.h"
#include "results/ScreenPrint.h"
#include "ui/ControlFactory.h"
#include "ui/LineButton.h"
#include "ui/mdlMain.h"

#include <QCheckBox>
#include <QPushButton>
#include <QScrollBar>

namespace {

const QString kForm = QStringLiteral("frmDetail");
const QString kDesignCaption = QStringLiteral("詳細画面");

constexpr uint32_t kBandColor = RGBColor(220, 230, 242);     // behind the grids and the drawing
constexpr uint32_t kButtonRowColor = RGBColor(196, 208, 226);

Label* newBand(QWidget* parent, const char* name, const QRect& r, uint32_t color)
{
    auto* l = NewControl<Label>(parent, name, r, QString());
    SetBackStyle(l, 1);
    SetBackColor(l, color);
    l->setFrameShape(QFrame::StyledPanel);
    return l;
}

// A text shown in a sunken box (the caption of a read-only field).
Label* newField(QWidget* parent, const char* name, const QRect& r)
{
    auto* l = NewControl<Label>(parent, name, r, QString());
    SetBackStyle(l, 1);
    SetBackColor(l, 0xFFFFFF);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

// A computed size the control cannot take.
int checked(int value)
{
    if (value < 0)
        throw VbError::InvalidPropertyValue();
    return value;
}

void setLeftTop(QWidget* w, int left, int top) { w->move(left, top); }
void setTop(QWidget* w, int top) { w->move(w->x(), top); }
void setWidth(QWidget* w, int width) { w->resize(checked(width), w->height()); }
void setHeight(QWidget* w, int height) { w->resize(w->width(), checked(height)); }
void setSize(QWidget* w, int width, int height) { w->resize(checked(width), checked(height)); }

}  // namespace

frmDetail& gDetail()
{
    static frmDetail* form = new frmDetail;   // lives as long as the program
    return *form;
}

frmDetail::frmDetail() : HandledForm(kForm) {}

void frmDetail::createControls(FormWindow* w)
{
    w->setWindowTitle(kDesignCaption);
    w->setFont(WindowFont());
    w->resize(1280, 720);   // twelve part columns beside the sheet grid's leading columns

    // The bands first, so that the controls lie over them.
    labDetailBackStyle = newBand(w, "labDetailBackStyle", QRect(1, 1, 998, 138), kBandColor);
    labListBackStyle = newBand(w, "labListBackStyle", QRect(682, 140, 316, 498), kBandColor);
    labButtonBackStyle = newBand(w, "labButtonBackStyle", QRect(1, 645, 998, 34), kButtonRowColor);

    // The top band: the pattern's list number, the sheet shown and the stepping at the left, the
    // sheet grid beside them.
    labDetailPaternNo = NewControl<Label>(w, "labDetailPaternNo", QRect(10, 12, 54, 22), QStringLiteral("No."));
    txtDetailPaternNo = newField(w, "txtDetailPaternNo", QRect(66, 12, 68, 22));
    labBozaiNo = NewControl<Label>(w, "labBozaiNo", QRect(10, 42, 54, 22), QStringLiteral("母材番号"));
    txtBozaiNo = newField(w, "txtBozaiNo", QRect(66, 42, 68, 22));
    butBozaiNoDown = NewCommandButton(w, "butBozaiNoDown", QStringLiteral("◀"), QRect(10, 80, 32, 26));
    numBozaiNo = NewNumberBox(w, "numBozaiNo", QRect(46, 80, 52, 26), QStringLiteral("###0"));
    numBozaiNo->setAlignment(Qt::AlignCenter);
    butBozaiNoUp = NewCommandButton(w, "butBozaiNoUp", QStringLiteral("▶"), QRect(102, 80, 32, 26));

    TDBDetail = NewControl<TDBGrid>(w, "TDBDetail", QRect(140, 6, 854, 128));

    // The drawing panel: the frame with the surface in it, the scroll bar and the size label.
    auto* sizeBack = NewControl<QFrame>(w, "picSizeBackStyle", QRect(1, 140, 680, 498));
    MarkControl(sizeBack, QStringLiteral("PictureBox"));
    sizeBack->setAutoFillBackground(true);
    SetBackColor(sizeBack, kBandColor);
    sizeBack->setFrameShape(QFrame::StyledPanel);
    picSizeBackStyle = sizeBack;
    picDodai = NewControl<QFrame>(picSizeBackStyle, "picDodai", QRect(15, 6, 650, 448));
    MarkControl(picDodai, QStringLiteral("PictureBox"));
    picDodai->setAutoFillBackground(true);
    SetBackColor(picDodai, RGBColor(128, 128, 128));
    picDetail = NewControl<DetailSurface>(picDodai, "picDetail", QRect(-2, -2, 650, 448));
    SetBackColor(picDetail, RGBColor(128, 128, 128));
    shpAmi = NewControl<HatchMarker>(picDetail, "shpAmi", QRect(0, 0, 1, 1));
    shpAmi->hide();
    HScroll1 = NewControl<QScrollBar>(picSizeBackStyle, "HScroll1", QRect(15, 458, 650, 17), Qt::Horizontal);
    HScroll1->hide();
    labSize = NewControl<Label>(picSizeBackStyle, "labSize", QRect(240, 478, 200, 18), QString());
    labSize->setAlignment(Qt::AlignCenter);

    // The part grid with the marker's check box and the export button.
    TDBList = NewControl<TDBGrid>(w, "TDBList", QRect(694, 148, 300, 446));
    chkAmi = NewControl<QCheckBox>(w, "chkAmi", QRect(700, 610, 140, 24), QStringLiteral("網掛けを消す"));
    MarkControl(chkAmi, QStringLiteral("CheckBox"));
    lbutOutput = NewLineButton(w, "lbutOutput", QStringLiteral("ﾌｧｲﾙ出力"), QRect(900, 610, 92, 25));

    // The button row.
    butSmall = NewCommandButton(w, "butSmall", QStringLiteral("縮小"), QRect(10, 651, 70, 24));
    butBig = NewCommandButton(w, "butBig", QStringLiteral("拡大"), QRect(84, 651, 70, 24));
    lbutPrint = NewLineButton(w, "lbutPrint", QStringLiteral("画面印刷"), QRect(556, 651, 92, 25));
    lbutClose = NewLineButton(w, "lbutClose", QStringLiteral("閉じる"), QRect(900, 651, 92, 25));

    QWidget* chain[] = {butBozaiNoDown, numBozaiNo, butBozaiNoUp, TDBDetail, TDBList, chkAmi, lbutOutput,
                        butSmall, butBig, lbutPrint, lbutClose};
    for (size_t i = 1; i < std::size(chain); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);

    // Every handler is wired once, to the window's controls.
    connect(lbutClose, &LineButton::Click, w, [this] { lbutClose_Click(); });
    connect(lbutPrint, &LineButton::Click, w, [this] { lbutPrint_Click(); });
    connect(lbutOutput, &LineButton::Click, w, [this] { lbutOutput_Click(); });
    connect(butBig, &QPushButton::clicked, w, [this] { butBig_Click(); });
    connect(butSmall, &QPushButton::clicked, w, [this] { butSmall_Click(); });
    connect(HScroll1, &QScrollBar::valueChanged, w, [this] { handle("HScroll1_Change", [this] { HScroll(); }); });
    connect(butBozaiNoDown, &QPushButton::clicked, w, [this] { butBozaiNoDown_Click(); });
    connect(butBozaiNoUp, &QPushButton::clicked, w, [this] { butBozaiNoUp_Click(); });
    connect(numBozaiNo, &ImNumber::Change, w, [this] { numBozaiNo_Change(); });
    // A typed 0 or an emptied box lies below the range: it means the first sheet.
    connect(numBozaiNo, &ImNumber::InvalidRange, w, [this](bool&) {
        if (numBozaiNo->value() == 0)
            numBozaiNo->setValue(1);
    });
    connect(TDBDetail, &TDBGrid::RowColChange, w, [this](int, int) { TDBDetail_RowColChange(); });
    connect(TDBList, &TDBGrid::RowColChange, w, [this](int, int) { TDBList_RowColChange(); });
    connect(TDBDetail, &TDBGrid::ColResize, w, [this](int, int&) { TDBDetail_ColResize(); });
    connect(TDBDetail, &TDBGrid::FetchCellStyle, w, [](int, int, int, int col, TDBCellStyle& style) {
        // The part columns in the colours of their parts.
        const Engine& e = gEngine();
        const int n = col - 5;
        if (n >= 1 && n <= e.PartTypeCount && size_t(n) < e.PartTbl.size()) {
            style.backColor = uint32_t(e.PartTbl[size_t(n)].色値);
            style.foreColor = uint32_t(WhiteOrBlack(e.PartTbl[size_t(n)].色値));
        }
    });
    connect(picDetail, &DetailSurface::MouseDown, w,
            [this](int button, int shift, float x, float y) { picDetail_MouseDown(button, shift, x, y); });
    connect(chkAmi, &QCheckBox::toggled, w, [this] { chkAmi_Click(); });
}

// --- loading, activation and closing ---

void frmDetail::Form_Load()
{
    ++quiet_;   // binding and building the grids moves their rows: nothing to follow yet
    handle("Form_Load", [this] {
        const ListSelection& sel = gSelection();
        gVBForm().FitScreenCenter(loadedWindow());
        InitInputControls(*this);
        txtDetailPaternNo->setText(FormatNumber(sel.listNo, QStringLiteral("0000")));
        lastSheet_ = std::max(LastUsedSheet(sel.patternNo), sel.sheetCount);
        WriteDetail(sel.patternNo, lastSheet_);
        InitGridStyle(*this, *TDBList);
        SetTDBListColumn();
        InitGrid();
        InitGridStyle(*this, *TDBDetail);
        SetTDBGridColumn(false);
        SetButtonColors();
        fitWidth();
        Resize();
        SetScroll();
        butSmall->setEnabled(false);
        setCaption(kDesignCaption + QStringLiteral(" - ") + QStringLiteral("Panelo2"));
    });
    --quiet_;
}

void frmDetail::SetButtonColors()
{
    const cApl& apl = gApl();
    apl.SetButLineColor(lbutClose, kRoleExit);
    apl.SetButLineColor(lbutPrint, kRolePrint);
    apl.SetButLineColor(lbutOutput, kRolePrint);
}

void frmDetail::Form_Activate()
{
    handle("Form_Activate", [this] {
        numBozaiNo->setValue(gSelection().sheet);
        numBozaiNo->setMinValue(1);
        numBozaiNo->setMaxValue(lastSheet_);
    });
}

void frmDetail::Form_QueryUnload(int& cancel, int)
{
    // A print under way still uses the window (it waits, captures and shows its dialogs).
    if (PrintBusy)
        cancel = 1;
}

void frmDetail::Form_Unload(int&)
{
    TDBDetail->clearRecordset();
    TDBList->clearRecordset();
    scene_ = SheetScene();
}

void frmDetail::lbutClose_Click()
{
    handle("lbutClose_Click", [this] { unload(); });
}

void frmDetail::lbutPrint_Click()
{
    if (FormWindow* w = loadedWindow())
        ScreenPrint(w, kForm, &PrintBusy);
}

void frmDetail::lbutOutput_Click()
{
    handle("lbutOutput_Click", [this] { ExportPartTable(*TDBList); });
}

// --- layout ---

void frmDetail::Form_Resize()
{
    FormWindow* w = loadedWindow();
    if (!w || w->isMinimized() || !TDBDetail)
        return;
    handle("Form_Resize", [this] { layout(); });
}

void frmDetail::layout()
{
    const FormWindow* w = loadedWindow();
    const int W = w->width(), H = w->height();
    setWidth(labDetailBackStyle, W - 2);
    setWidth(TDBDetail, W - 146);
    SetTDBGridColumn(true);
    setSize(picSizeBackStyle, W - 320, H - 184);
    setSize(picDodai, W - 350, H - 232);
    setSize(picDetail, W - 350, H - 232);
    setWidth(HScroll1, picDodai->width());
    setLeftTop(HScroll1, (picSizeBackStyle->width() - HScroll1->width()) / 2, picSizeBackStyle->height() - 40);
    setLeftTop(labSize, (picSizeBackStyle->width() - labSize->width()) / 2, picSizeBackStyle->height() - 20);
    labListBackStyle->move(W - 318, labListBackStyle->y());
    setHeight(labListBackStyle, H - 182);
    TDBList->move(W - 306, TDBList->y());
    setHeight(TDBList, H - 234);
    setLeftTop(chkAmi, W - 300, H - 70);
    setLeftTop(lbutOutput, W - 100, H - 70);
    setTop(labButtonBackStyle, H - 35);
    setWidth(labButtonBackStyle, W - 2);
    setTop(butSmall, H - 29);
    setTop(butBig, H - 29);
    setLeftTop(lbutPrint, W - 444, H - 29);
    setLeftTop(lbutClose, W - 100, H - 29);

    // Every layout fits the sheet to the frame's new width again.
    fitWidth();
    Resize();
    DrawDetail();
    SetScroll();
}
