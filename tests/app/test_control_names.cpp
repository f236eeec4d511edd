// Every control of a window carries the name its code, the error log and the control
// collections know it by, so that each can be found by name and no two share a key.
#include "tests/app/MainWindowFixture.h"

#include "app/fSplash.h"
#include "app/frmSetting.h"
#include "app/frmVersion.h"
#include "printing/fDlgPrint.h"
#include "printing/frmSysPrintDtl.h"
#include "printing/frmSysPrintList.h"
#include "results/frmDetail.h"
#include "results/frmLoad.h"
#include "results/frmSave.h"
#include "tests/support/ScriptedMsgBox.h"
#include "ui/FormControls.h"
#include "ui/frmPallete.h"
#include "ui/frmProgress.h"

#include <QSet>

namespace {

// The controls of a loaded form without a name, and the keys two controls share.
QStringList namingFaults(const Form& form)
{
    QStringList faults;
    QSet<QString> keys;
    for (QWidget* c : form.controls()) {
        const QString key = ControlKey(c);
        if (c->objectName().isEmpty())
            faults << QStringLiteral("unnamed %1 %2 at %3,%4").arg(TypeName(c), c->metaObject()->className())
                          .arg(c->x()).arg(c->y());
        else if (keys.contains(key))
            faults << QStringLiteral("shared key ") + key;
        keys.insert(key);
    }
    return faults;
}

class ControlNamesTest : public MainWindowTest {};

TEST_F(ControlNamesTest, EveryWindowNamesEachOfItsControls)
{
    std::vector<std::pair<const char*, Form*>> forms = {
        {"frmTavo", &gTavo()}, {"fSplash", &gSplash()}, {"frmVersion", &gVersion()}, {"frmSave", &gSave()}, {"frmLoad", &gLoad()},
        {"frmPallete", &gPallete()}, {"frmSysPrintList", &gSysPrintList()}, {"frmSysPrintDtl", &gSysPrintDtl()},
        {"frmProgress", &gProgress()}, {"frmDetail", &gDetail()}};
    frmSetting setting;
    forms.push_back({"frmSetting", &setting});
    fDlgPrint printDialog;
    forms.push_back({"fDlgPrint", &printDialog});
    ScriptedMsgBox boxes;
    boxes.allowAny();   // closing the printer editor unsaved asks first
    for (auto [name, form] : forms) {
        const bool wasLoaded = form->isLoaded();
        if (!wasLoaded)
            form->load();
        EXPECT_EQ("", namingFaults(*form).join(QLatin1Char('\n')).toStdString()) << name;
        if (!wasLoaded)
            form->unload();
    }
}

}  // namespace
