#include "results/frmSave.h"

#include "foundation/Globals.h"
#include "foundation/cApl.h"
#include "foundation/cBase.h"
#include "foundation/cDao.h"
#include "platform/core/DateSerial.h"
#include "platform/core/MsgBox.h"
#include "platform/gui/Controls.h"
#include "platform/gui/ImText.h"
#include "platform/gui/Label.h"
#include "results/SaveTables.h"
#include "ui/ControlFactory.h"
#include "ui/LineButton.h"
#include "ui/LoggedCall.h"
#include "ui/mdlMain.h"

#include <QDateTime>

namespace {
const QString kForm = QStringLiteral("frmSave");
}

frmSave& gSave()
{
    static frmSave* form = new frmSave;   // lives as long as the program
    return *form;
}

frmSave::frmSave() : HandledForm(kForm) {}

void frmSave::createControls(FormWindow* w)
{
    SetDialogFrame(w, QStringLiteral("計算結果保存"), QSize(392, 104));

    labHozon1 = NewControl<Label>(w, "labHozon1", QRect(12, 16, 64, 24), QStringLiteral("保存名称"));
    labHozon1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtHozonName = NewControl<ImText>(w, "txtHozonName", QRect(84, 16, 296, 24));

    lbutAdd = NewLineButton(w, "lbutAdd", QStringLiteral("保\u3000存"), QRect(168, 58, 100, 34));
    lbutClose = NewLineButton(w, "lbutClose", QStringLiteral("閉じる"), QRect(280, 58, 100, 34));
    QWidget::setTabOrder(txtHozonName, lbutAdd);
    QWidget::setTabOrder(lbutAdd, lbutClose);

    QObject::connect(lbutAdd, &LineButton::Click, w, [this] { handle("lbutAdd_Click", [this] { lbutAdd_Click(); }); });
    QObject::connect(lbutClose, &LineButton::Click, w,
                     [this] { handle("lbutClose_Click", [this] { lbutClose_Click(); }); });
}

void frmSave::Form_Load()
{
    handle("Form_Load", [this] {
        InitInputControls(*this);
        SetButtonColors();
        setCaption(caption() + QStringLiteral(" - ") + QStringLiteral("Panelo2"));
    });
}

void frmSave::SetButtonColors()
{
    gApl().SetButLineColor(lbutAdd, kRoleNew);
    gApl().SetButLineColor(lbutClose, kRoleExit);
}

int32_t frmSave::CountOfName(const QString& nameLiteral)
{
    return gBase().CvtLng(gDaoSave().Lookup(QStringLiteral("保存"), QStringLiteral("COUNT(*)"),
                                            QStringLiteral("保存名=") + nameLiteral));
}

void frmSave::lbutAdd_Click()
{
    const QString name = txtHozonName->text();
    if (name.isEmpty()) {
        MsgBox(QStringLiteral("保存名を入力してください。"), vbExclamation, QStringLiteral("入力確認"));
        SetFocusOn(txtHozonName);
        return;
    }
    if (CountOfName(gBase().CvtSQL(Variant(name), kSqlText)) != 0 &&
        MsgBox(QStringLiteral("入力した保存名はすでに登録されています。") + QStringLiteral("\r\n") +
                   QStringLiteral("上書きしますか？"),
               vbQuestion | vbYesNo, QStringLiteral("登録確認")) == vbNo)
        return;

    int32_t number = 0;
    std::vector<SaveStep> steps = {{QStringLiteral("SaveHozon"), [&] { return SaveHozon(number); }}};
    for (const SaveTable& t : SaveTables())
        steps.push_back({QString::fromLatin1(t.saveProc), [&] { return SaveCopyStep(t, number); }});
    if (RunSaveTransaction(kForm, steps)) {
        unload();
        return;
    }
    MsgBox(QStringLiteral("計算結果の保存に失敗しました。"), vbCritical, QStringLiteral("保存失敗"));
}

void frmSave::lbutClose_Click() { unload(); }

bool frmSave::SaveHozon(int32_t& number)
{
    return RunLogged(kForm, "SaveHozon", [&] {
        const QString name = gBase().CvtSQL(Variant(txtHozonName->text()), kSqlText);
        const QString date =
            gBase().CvtSQL(Variant::date(DateTimeSerial(QDateTime::currentDateTime())), kSqlDate);
        QString sql;
        if (CountOfName(name) != 0) {
            number = gBase().CvtLng(
                gDaoSave().Lookup(QStringLiteral("保存"), QStringLiteral("保存番号"), QStringLiteral("保存名=") + name));
            sql = QStringLiteral("UPDATE 保存 SET 保存名=") + name + QStringLiteral(",保存年月日=") + date +
                  QStringLiteral(" WHERE 保存番号=") + gBase().CvtSQL(Variant(number), kSqlLong);
        } else {
            number = gBase().CvtLng(gDaoSave().Lookup(QStringLiteral("保存"), QStringLiteral("MAX(保存番号)+1"), QString()));
            if (number == 0)
                number = 1;
            sql = QStringLiteral("INSERT INTO 保存 ( 保存番号,保存名,保存年月日 ) VALUES ( ") +
                  gBase().CvtSQL(Variant(number), kSqlLong) + QLatin1Char(',') + name + QLatin1Char(',') + date +
                  QStringLiteral(" )");
        }
        return gDaoSave().Execute(sql, dbInconsistent) > 0;
    });
}
