#include "results/frmLoad.h"

#include "foundation/ErrLog.h"
#include "foundation/Globals.h"
#include "foundation/cApl.h"
#include "foundation/cBase.h"
#include "foundation/cDao.h"
#include "platform/core/MsgBox.h"
#include "platform/gui/Handler.h"
#include "platform/gui/TDBGrid.h"
#include "platform/gui/Units.h"
#include "results/SaveTables.h"
#include "ui/ControlFactory.h"
#include "ui/LineButton.h"
#include "ui/mdlMain.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>

namespace {
const QString kForm = QStringLiteral("frmLoad");
}

frmLoad& gLoad()
{
    static frmLoad* form = new frmLoad;   // lives as long as the program
    return *form;
}

frmLoad::frmLoad() : HandledForm(kForm) {}

void frmLoad::createControls(FormWindow* w)
{
    SetDialogFrame(w, QStringLiteral("計算結果呼出"), QSize(448, 320));

    TDBGrid = NewControl<::TDBGrid>(w, "TDBGrid", QRect(8, 8, 432, 254));

    auto button = [&](const char* name, const QString& caption, int left) {
        return NewLineButton(w, name, caption, QRect(left, 274, 100, 34));
    };
    lbutLoad = button("lbutLoad", QStringLiteral("読\u3000込"), 116);
    lbutDel = button("lbutDel", QStringLiteral("削\u3000除"), 228);
    lbutClose = button("lbutClose", QStringLiteral("閉じる"), 340);
    QWidget::setTabOrder(TDBGrid, lbutLoad);
    QWidget::setTabOrder(lbutLoad, lbutDel);
    QWidget::setTabOrder(lbutDel, lbutClose);

    QObject::connect(lbutLoad, &LineButton::Click, w, [this] { handle("lbutLoad_Click", [this] { lbutLoad_Click(); }); });
    QObject::connect(lbutDel, &LineButton::Click, w, [this] { handle("lbutDel_Click", [this] { lbutDel_Click(); }); });
    QObject::connect(lbutClose, &LineButton::Click, w,
                     [this] { handle("lbutClose_Click", [this] { lbutClose_Click(); }); });
    QObject::connect(TDBGrid, &::TDBGrid::DblClick, w,
                     [this] { handle("TDBGrid_DblClick", [this] { TDBGrid_DblClick(); }); });
}

void frmLoad::Form_Load()
{
    State = false;
    handle("Form_Load", [this] {
        InitInputControls(*this);
        SetButtonColors();
        LoadSaveList();
        InitGridStyle(*this, *TDBGrid);
        SetGridColumns();
        setCaption(caption() + QStringLiteral(" - ") + QStringLiteral("Panelo2"));
    });
}

void frmLoad::SetButtonColors()
{
    gApl().SetButLineColor(lbutLoad, kRoleNew);
    gApl().SetButLineColor(lbutDel, kRoleDelete);
    gApl().SetButLineColor(lbutClose, kRoleExit);
}

void frmLoad::LoadSaveList()
{
    setMousePointer(vbHourglass);
    TDBGrid->clearRecordset();
    rsSaveList = gDaoSave().OpenRecordset(QStringLiteral("SELECT * FROM 保存 ORDER BY 保存番号"), dbOpenDynaset,
                                          dbReadOnly, dbReadOnly);
    TDBGrid->setRecordset(rsSaveList);
    EnableButtons(rsSaveList);
    setMousePointer(vbDefault);
}

void frmLoad::EnableButtons(const Recordset& list)
{
    const bool any = list.recordCount() >= 1;
    lbutLoad->setEnabled(any);
    lbutDel->setEnabled(any);
}

void frmLoad::SetGridColumns()
{
    while (TDBGrid->columnCount() > 0)
        TDBGrid->removeColumn(0);
    auto add = [this](int index, const QString& name, double width, bool visible) {
        TDBColumn& c = TDBGrid->addColumn(index);
        c.setCaption(name);
        c.setDataField(name);
        c.setWidth(width);
        c.setVisible(visible);
    };
    const double dateWidth = PixelScale(TDBGrid->font().pointSizeF(), 10) / kTwipsPerPixel;
    // The name takes what the grid leaves beside the date: less its frame, row selectors and
    // vertical scroll bar.
    const int frame = 2 * TDBGrid->frameWidth();
    const int selectors = TDBGrid->recordSelectors() ? TDBGrid->verticalHeader()->width() : 0;
    const int scrollBar = TDBGrid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, TDBGrid);
    add(0, QStringLiteral("保存番号"), 0, false);
    add(1, QStringLiteral("保存名"), TDBGrid->width() - frame - selectors - scrollBar - dateWidth, true);
    add(2, QStringLiteral("保存年月日"), dateWidth, true);
}

Variant frmLoad::CurrentField(const QString& name)
{
    Recordset& rs = TDBGrid->recordset();
    if (!TDBGrid->hasRecordset() || rs.bof() || rs.eof())
        return Variant::null();
    return rs.field(name);
}

void frmLoad::TDBGrid_DblClick()
{
    if (lbutLoad->isEnabled())
        lbutLoad_Click();
}

void frmLoad::lbutLoad_Click()
{
    const int32_t number = gBase().CvtLng(CurrentField(QStringLiteral("保存番号")));
    std::vector<SaveStep> steps;
    for (const SaveTable& t : SaveTables())
        steps.push_back({QString::fromLatin1(t.recallProc), [&t, number] { return RecallStep(t, number); }});
    State = RunSaveTransaction(kForm, steps);
    if (!State)
        MsgBox(QStringLiteral("計算結果の読込に失敗しました。"), vbCritical, QStringLiteral("読込失敗"));
    HozonNo = number;
    unload();
}

void frmLoad::lbutDel_Click()
{
    const QString name = gBase().CvtStr(CurrentField(QStringLiteral("保存名")));
    if (MsgBox(QStringLiteral("保存名称[") + name + QStringLiteral("]のデータを削除してよろしいですか？"),
               vbQuestion | vbYesNo | vbDefaultButton2, QStringLiteral("削除確認")) != vbYes)
        return;
    const int32_t number = gBase().CvtLng(CurrentField(QStringLiteral("保存番号")));
    std::vector<SaveStep> steps = {{QStringLiteral("DelHozon"), [number] { return DeleteStep(QStringLiteral("保存"), number); }}};
    for (const SaveTable& t : SaveTables())
        steps.push_back({QString::fromLatin1(t.deleteProc), [&t, number] { return DeleteStep(t.copyTable, number); }});
    if (RunSaveTransaction(kForm, steps))
        LoadSaveList();
    else
        MsgBox(QStringLiteral("計算結果の削除に失敗しました。"), vbCritical, QStringLiteral("削除失敗"));
}

void frmLoad::lbutClose_Click()
{
    State = false;
    unload();
}
