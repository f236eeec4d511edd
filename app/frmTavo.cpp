// The main window: its controls, loading and closing, the kerf panel kept in 設定, the compute
// road, the list after a computation or a recall, the hand-over of a list row, and the commands
// of its buttons.
#include "app/frmTavo.h"

#include "app/Logo.h"
#include "app/SystemSettings.h"
#include "app/frmSetting.h"
#include "app/frmVersion.h"
#include "engine/Engine.h"
#include "engine/PatternStore.h"
#include "foundation/ErrLog.h"
#include "foundation/Globals.h"
#include "foundation/cApl.h"
#include "foundation/cBase.h"
#include "foundation/cDao.h"
#include "foundation/gui/cVBForm.h"
#include "platform/core/MsgBox.h"
#include "platform/gui/Colors.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Handler.h"
#include "platform/gui/ImNumber.h"
#include "platform/gui/ImText.h"
#include "platform/gui/Label.h"
#include "platform/gui/TDBGrid.h"
#include "printing/frmSysPrintList.h"
#include "results/ScreenPrint.h"
#include "results/frmDetail.h"
#include "results/frmLoad.h"
#include "results/frmSave.h"
#include "ui/ControlFactory.h"
#include "ui/LineButton.h"
#include "ui/frmPallete.h"
#include "ui/frmProgress.h"
#include "ui/mdlMain.h"

#include <QApplication>
#include <QGroupBox>
#include <QPushButton>

namespace {

const QString kForm = QStringLiteral("frmTavo");
const QString kDesignCaption = QStringLiteral("一覧画面");

// The kerf panel while 設定 holds no row.
constexpr uint32_t kDesignKerfColor = 0x000000;
constexpr double kDesignKerfWidth = 3;

// A transparent label of the input panel.
Label* newLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry, bool bold = false)
{
    auto* l = NewControl<Label>(parent, name, geometry, text);
    if (bold)
        l->setFont(WindowFont(true));
    SetBackStyle(l, 0);
    return l;
}

// Unloads a form's window (a plain window is closed); false when it refused.
bool unloadWindow(QWidget* w)
{
    auto* fw = qobject_cast<FormWindow*>(w);
    return fw && fw->form() ? fw->form()->unload(vbFormCode) : w->close();
}

QList<QPointer<QWidget>> otherForms(const QWidget* self)
{
    QList<QPointer<QWidget>> others;
    for (QWidget* f : LoadedForms())
        if (f != self)
            others << f;
    return others;
}

// Closes the progress window and restores the pointer however the compute road ends.
struct ComputeGuard {
    frmTavo& form;
    ~ComputeGuard()
    {
        form.setMousePointer(vbDefault);
        gProgress().CloseWin(form);
        gEngine().SetProgress(nullptr);
    }
};

}  // namespace

frmTavo& gTavo()
{
    static frmTavo* form = new frmTavo;   // lives as long as the program
    return *form;
}

bool UnloadFormNamed(const QString& name)
{
    for (QWidget* w : LoadedForms())
        if (w->objectName() == name)
            return unloadWindow(w);
    return true;
}

frmTavo::frmTavo() : HandledForm(QStringLiteral("frmTavo")) {}

frmTavo::~frmTavo()
{
    if (isLoaded())   // the engine outlives every window
        gEngine().SetHost(nullptr);
    list_.reset();
}

// --- design ---

void frmTavo::createControls(FormWindow* w)
{
    // A window loaded afresh starts from its design state.
    Busy = false;
    RotateAllNext = false;
    BozaiNoCounter = BuzaiNoCounter = 0;
    w->setWindowTitle(kDesignCaption);
    w->resize(1000, 600);

    // Background bands first, so that everything else lies over them.
    labInputBackStyle = newLabel(w, "labInputBackStyle", QString(), QRect(654, 0, 346, 564));
    SetBackStyle(labInputBackStyle, 1);
    SetBackColor(labInputBackStyle, RGBColor(220, 230, 242));
    labInputBackStyle->setFrameShape(QFrame::StyledPanel);
    labButtonBackStyle = newLabel(w, "labButtonBackStyle", QString(), QRect(1, 565, 998, 34));
    SetBackStyle(labButtonBackStyle, 1);
    SetBackColor(labButtonBackStyle, RGBColor(196, 208, 226));
    labButtonBackStyle->setFrameShape(QFrame::StyledPanel);

    imgPanelo = NewControl<QLabel>(w, "imgPanelo", QRect(670, 6, 200, 40));
    imgPanelo->setPixmap(PaneloLogo(imgPanelo->size()));
    lbutVersion = NewLineButton(w, "lbutVersion", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"), QRect(900, 12, 90, 25));

    // The stock frame with the kerf panel; the part frame with the rotate-all button. The grids
    // lie over the frames; the heights follow the grids' row height (placeInputPanel).
    fraBozai = NewControl<QGroupBox>(w, "fraBozai", QRect(662, 52, 330, 150), QStringLiteral("母材入力"));
    fraBozai->setFont(WindowFont(true));
    labKirisiro = newLabel(fraBozai, "labKirisiro", QStringLiteral("切代"), QRect(12, 120, 30, 18), true);
    labKirisiroWidth = newLabel(fraBozai, "labKirisiroWidth", QStringLiteral("幅"), QRect(46, 120, 16, 18));
    numKirisiroWidth = NewNumberBox(fraBozai, "numKirisiroWidth", QRect(62, 118, 46, 22), QStringLiteral("###0"));
    numKirisiroWidth->setMinValue(0);
    numKirisiroWidth->setMaxValue(9999);
    numKirisiroWidth->setValue(kDesignKerfWidth);
    labKirisiroColor = newLabel(fraBozai, "labKirisiroColor", QStringLiteral("色"), QRect(118, 120, 16, 18));
    txtKirisiroColor = NewControl<ImText>(fraBozai, "txtKirisiroColor", QRect(134, 118, 40, 22));
    txtKirisiroColor->setReadOnly(true);
    SetBackColor(txtKirisiroColor, kDesignKerfColor);
    butTavoPallete = NewCommandButton(fraBozai, "butTavoPallete", QStringLiteral("…"), QRect(176, 118, 24, 22));
    lbutBozaiDelete = NewLineButton(fraBozai, "lbutBozaiDelete", QStringLiteral("行削除"), QRect(246, 116, 76, 25));

    fraBuzai = NewControl<QGroupBox>(w, "fraBuzai", QRect(662, 208, 330, 300), QStringLiteral("部材入力"));
    fraBuzai->setFont(WindowFont(true));
    butProhibition = NewCommandButton(fraBuzai, "butProhibition", QStringLiteral("回転禁止"), QRect(16, 266, 86, 25));
    butProhibition->setFont(WindowFont(true));
    lbutBuzaiDelete = NewLineButton(fraBuzai, "lbutBuzaiDelete", QStringLiteral("行削除"), QRect(246, 266, 76, 25));

    TDBBozai = NewControl<TDBGrid>(w, "TDBBozai", QRect(678, 74, 306, 100));
    TDBBuzai = NewControl<TDBGrid>(w, "TDBBuzai", QRect(678, 230, 306, 240));
    for (TDBGrid* g : {TDBBozai.data(), TDBBuzai.data()}) {
        g->setFont(WindowFont());
        g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }

    TDBList = NewControl<TDBGrid>(w, "TDBList", QRect(0, 0, 652, 564));

    // The button row: four at the left, the others kept at the right edge.
    lbutPriMst = NewLineButton(w, "lbutPriMst", QStringLiteral("プリンタ設定"), QRect(6, 571, 86, 25));
    lbutSystem = NewLineButton(w, "lbutSystem", QStringLiteral("システム設定"), QRect(96, 571, 86, 25));
    lbutSave = NewLineButton(w, "lbutSave", QStringLiteral("保\u3000存"), QRect(186, 571, 86, 25));
    lbutLoad = NewLineButton(w, "lbutLoad", QStringLiteral("読\u3000込"), QRect(276, 571, 86, 25));
    lbutDetail = NewLineButton(w, "lbutDetail", QStringLiteral("詳\u3000細"), QRect(460, 571, 86, 25));
    lbutPrint = NewLineButton(w, "lbutPrint", QStringLiteral("画面印刷"), QRect(556, 571, 86, 25));
    lbutCompute = NewLineButton(w, "lbutCompute", QStringLiteral("計\u3000算"), QRect(804, 571, 92, 25));
    lbutClose = NewLineButton(w, "lbutClose", QStringLiteral("終\u3000了"), QRect(900, 571, 86, 25));

    lbutDetail->setEnabled(false);
    lbutSave->setEnabled(false);

    // Tab order: stock, kerf, parts, commands, list.
    QWidget* chain[] = {TDBBozai, numKirisiroWidth, txtKirisiroColor, butTavoPallete, lbutBozaiDelete, TDBBuzai,
                        butProhibition, lbutBuzaiDelete, lbutCompute, lbutDetail, lbutPrint, lbutClose, lbutPriMst,
                        lbutSystem, lbutSave, lbutLoad, lbutVersion, TDBList};
    for (size_t i = 1; i < std::size(chain); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);

    list_ = std::make_unique<PatternList>(*TDBList);
    stockRows_ = GridRows(TDBBozai);
    partRows_ = GridRows(TDBBuzai);

    // Every handler is wired once, to the window's controls.
    connect(lbutCompute, &LineButton::Click, w, [this] { lbutCompute_Click(); });
    connect(lbutDetail, &LineButton::Click, w, [this] { lbutDetail_Click(); });
    connect(list_.get(), &PatternList::DetailRequested, w, [this] { lbutDetail_Click(); });
    connect(lbutBozaiDelete, &LineButton::Click, w, [this] { lbutBozaiDelete_Click(); });
    connect(lbutBuzaiDelete, &LineButton::Click, w, [this] { lbutBuzaiDelete_Click(); });
    connect(butProhibition, &QPushButton::clicked, w, [this] { butProhibition_Click(); });
    connect(butTavoPallete, &QPushButton::clicked, w, [this] { butTavoPallete_Click(); });
    connect(txtKirisiroColor, &ImText::KeyDown, w, [this](int& keyCode, int& shift) {
        handle("txtKirisiroColor_KeyDown", [&] { txtKirisiroColor_KeyDown(keyCode, shift); });
    });
    connect(lbutSystem, &LineButton::Click, w, [this] { lbutSystem_Click(); });
    connect(lbutSave, &LineButton::Click, w, [this] { lbutSave_Click(); });
    connect(lbutLoad, &LineButton::Click, w, [this] { lbutLoad_Click(); });
    connect(lbutVersion, &LineButton::Click, w, [this] { lbutVersion_Click(); });
    connect(lbutPrint, &LineButton::Click, w, [this] { lbutPrint_Click(); });
    connect(lbutPriMst, &LineButton::Click, w, [this] { lbutPriMst_Click(); });
    connect(lbutClose, &LineButton::Click, w, [this] { lbutClose_Click(); });
    connectGrid(stock());
    connectGrid(parts());
}

// --- loading and closing ---

void frmTavo::Form_Load()
{
    handle("Form_Load", [this] {
        gEngine().SetHost(this);
        list_->LimitPicture();
        InitInputControls(*this);
        InitGridStyle(*this, *TDBList);
        InitGridStyle(*this, *TDBBozai);
        InitGridStyle(*this, *TDBBuzai);
        SetTDBGridColumns();
        placeInputPanel();
        gVBForm().FitScreenCenter(window());   // once the design size is known
        SetControlsColor();
        CheckBozaiCount();
        CheckBuzaiCount();
        InitSetting();
        InitSystem();
        gDao().Execute(QStringLiteral("DELETE FROM パターンリスト"), dbFailOnError);   // the list starts empty
        setCaption(caption() + QStringLiteral(" - ") + QStringLiteral("Panelo2"));
    });
}

void frmTavo::Form_QueryUnload(int& cancel, int)
{
    if (Busy)
        cancel = 1;
}

// 設定 is written first; the engine's tables and the recordsets go only once every other window
// has closed, so a refused close leaves this window whole.
void frmTavo::Form_Unload(int& cancel)
{
    handle("Form_Unload", [&] {
        WriteSetting();
        for (const QPointer<QWidget>& f : otherForms(loadedWindow()))
            if (f)
                unloadWindow(f);
        if (!otherForms(loadedWindow()).isEmpty()) {
            setMousePointer(vbDefault);
            cancel = 1;
            return;
        }
        gEngine().Erase();
        list_->ReleasePatternGroups();
        SettingRs.close();
        ReleaseApl();
    });
    if (!cancel) {
        list_.reset();
        gEngine().SetHost(nullptr);
    }
}

void frmTavo::SetControlsColor()
{
    handle("SetControlsColor", [this] {
        const cApl& apl = gApl();
        apl.SetButLineColor(lbutClose, kRoleExit);
        apl.SetButLineColor(lbutCompute, kRoleNew);
        apl.SetButLineColor(lbutDetail, kRoleDetail);
        apl.SetButLineColor(lbutBozaiDelete, kRoleDelete);
        apl.SetButLineColor(lbutBuzaiDelete, kRoleDelete);
        apl.SetButLineColor(lbutPrint, kRolePrint);
    });
}

// --- the kerf panel and 設定 ---

void frmTavo::InitSetting()
{
    handle("InitSetting", [this] {
        SettingRs = gDao().OpenRecordset(QStringLiteral("SELECT * FROM ") + QStringLiteral("設定"), dbOpenDynaset,
                                         dbReadOnly, dbReadOnly);
        if (SettingRs.bof() || SettingRs.eof())
            return;   // the panel keeps its design values
        const cBase& b = gBase();
        SetBackColor(txtKirisiroColor, uint32_t(b.CvtLng(SettingRs.field(QStringLiteral("ライン")))));
        numKirisiroWidth->setValue(b.CvtLng(SettingRs.field(QStringLiteral("ライン幅"))));
    });
}

void frmTavo::WriteSetting()
{
    const cBase& b = gBase();
    const QString c = b.CvtSQL(Variant(int32_t(BackColor(txtKirisiroColor))), kSqlLong);
    const QString w = b.CvtSQL(Variant(numKirisiroWidth->value()), kSqlLong);
    const QString table = QStringLiteral("設定");
    // A count of now, not of the row read at loading: the table never holds a second row.
    const bool empty = b.CvtLng(gDao().Lookup(table, QStringLiteral("COUNT(*)"), QString())) == 0;
    const QString sql = empty ? QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (ライン,ライン幅)") +
                                    QStringLiteral(" VALUES ( ") + c + QLatin1Char(',') + w + QStringLiteral(" )")
                              : QStringLiteral("UPDATE ") + table + QStringLiteral(" SET") + QStringLiteral(" ライン= ") +
                                    c + QStringLiteral(",ライン幅= ") + w;
    gDao().Execute(sql, dbFailOnError);
}

int32_t frmTavo::kerfColor() const { return int32_t(BackColor(txtKirisiroColor)); }
Variant frmTavo::kerfWidth() const { return Variant(numKirisiroWidth->value()); }

void frmTavo::butTavoPallete_Click()
{
    if (Busy)
        return;
    handle("butTavoPallete_Click", [this] {
        gPallete().setColor(BackColor(txtKirisiroColor));
        gPallete().showModal();
        if (gPallete().State())
            SetBackColor(txtKirisiroColor, gPallete().Color());
    });
}

// --- the compute road ---

void frmTavo::lbutCompute_Click()
{
    handle("lbutCompute_Click", [this] {
        // A cell still being typed belongs to this computation.
        TDBBozai->updateRow();
        TDBBuzai->updateRow();
        Engine& engine = gEngine();
        if (!engine.CheckInputValue())
            return;   // the check showed its own warning
        // The detail window shows rows the computation replaces; one that is printing itself
        // refuses to close, and then nothing is computed.
        if (!UnloadFormNamed(QStringLiteral("frmDetail")))
            return;
        gProgress().OpenWin(*this);
        setMousePointer(vbHourglass);
        ComputeGuard restore{*this};
        engine.SetProgress(&gProgress());
        if (engine.BeforeCompute() && engine.Compute())
            AfterCompute();
    });
}

bool frmTavo::AfterCompute()
{
    bool result = false;
    auto step = [](const QString& text) {
        if (gProgress().isLoaded())
            gProgress().setStepText(text);
    };
    handle("AfterCompute", [&] {
        step(QStringLiteral("リスト描画中"));
        // The list and the detail window read the pattern tables through their indexes: any that
        // a killed or failed computation left dropped are built first (a failure is logged, the
        // list still comes, slower).
        handle("AfterCompute", [] { RestorePatternIndexes(); });
        result = list_->Build();
        if (!result) {
            // Never a stale list with live buttons.
            list_->Clear();
            lbutSave->setEnabled(false);
            lbutDetail->setEnabled(false);
        }
        step(QStringLiteral("完了"));
        if (result && TDBList->hasRecordset() && TDBList->recordset().recordCount() != 0) {
            lbutSave->setEnabled(true);
            lbutDetail->setEnabled(true);
        }
    });
    return result;
}

void frmTavo::disableListCommands()
{
    lbutSave->setEnabled(false);
    lbutDetail->setEnabled(false);
}

void frmTavo::detachPatternList() { list_->Clear(); }

bool frmTavo::ReloadAfterRecall(int16_t previousDisplaySheets)
{
    bool result = false;
    handle("lbutLoad_Click", [&] {
        Engine& engine = gEngine();
        // The last used sheet: a sheet that received nothing gets no column of its own.
        int16_t columns = gBase().CvtInt(
            gDao().Lookup(QStringLiteral("パターン母材"), QStringLiteral("MAX(連番)"), QStringLiteral("使用面積 <> 0")));
        if (previousDisplaySheets < columns)
            columns = previousDisplaySheets;
        engine.ListSheetColumns = columns;
        SetTDBGridColumns();
        CheckBozaiCount();
        CheckBuzaiCount();
        InitSetting();
        InitSystem();
        engine.SetBozai();
        engine.LoadParts(false);
        engine.SetLineWidth();
        engine.GreatestCommonDivisor();
        result = AfterCompute();
    });
    return result;
}

// --- the hand-over to the detail window ---

void frmTavo::lbutDetail_Click()
{
    if (Busy)
        return;
    handle("lbutDetail_Click", [this] {
        const ListSelection selection = list_->CurrentSelection();
        if (!selection.valid()) {
            gSelection() = selection;
            MsgBox(QStringLiteral("リスト情報の取得中にエラーが発生しました。") + QStringLiteral("\r\n") +
                       QStringLiteral("再計算してください。"),
                   vbOKOnly, QStringLiteral("lbutDetail_Click"));
            return;
        }
        // Each hand-over opens the detail window afresh; an open one that is printing itself
        // refuses to close and keeps its own selection.
        if (!UnloadFormNamed(QStringLiteral("frmDetail")))
            return;
        gSelection() = selection;
        handle("lbutDetail_Click", [] { RestorePatternIndexes(); });
        gDetail().show();
    });
}

// --- the other commands ---

void frmTavo::butProhibition_Click()
{
    handle("butProhibition_Click", [this] {
        TDBBuzai->updateRow();
        Recordset rs = TDBBuzai->recordset().clone();   // the grid's current row stays
        if (rs.recordCount() > 0) {
            rs.moveFirst();
            while (!rs.eof()) {
                rs.edit();
                rs.setField(QStringLiteral("回転"), Variant(int32_t(RotateAllNext ? -1 : 0)));
                rs.update();
                rs.moveNext();
            }
        }
        butProhibition->setText(RotateAllNext ? QStringLiteral("回転禁止") : QStringLiteral("全て回転"));
        RotateAllNext = !RotateAllNext;
    });
}

void frmTavo::lbutSystem_Click()
{
    if (Busy)
        return;
    handle("lbutSystem_Click", [this] {
        frmSetting dialog;   // modal, no owner
        dialog.showModal();
        list_->Refresh();    // the thumbnails follow the new settings
    });
}

void frmTavo::lbutSave_Click()
{
    handle("lbutSave_Click", [this] {
        WriteSetting();
        gSave().showModal();
    });
}

void frmTavo::lbutLoad_Click()
{
    handle("lbutLoad_Click", [this] {
        const int16_t previousDisplaySheets = gEngine().Settings.DisplaySheets;
        gLoad().showModal();
        if (gLoad().State) {
            UnloadFormNamed(QStringLiteral("frmDetail"));   // it would show rows the recall replaced
            ReloadAfterRecall(previousDisplaySheets);
        }
    });
}

void frmTavo::lbutVersion_Click()
{
    if (Busy)
        return;
    handle("lbutVersion_Click", [this] { gVersion().ShowModal(window()); });
}

void frmTavo::lbutPriMst_Click()
{
    if (Busy)
        return;
    handle("lbutPriMst_Click", [] { gSysPrintList().showModal(); });
}

// While the window prints itself, Busy refuses its other commands and its closing.
void frmTavo::lbutPrint_Click()
{
    if (Busy)
        return;
    Busy = true;
    ScreenPrint(loadedWindow(), kForm);
    Busy = false;
}

void frmTavo::lbutClose_Click()
{
    if (Busy)
        return;
    handle("lbutClose_Click", [this] { unload(vbFormCode); });
}
