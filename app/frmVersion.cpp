#include "app/frmVersion.h"

#include "app/Logo.h"
#include "foundation/Globals.h"
#include "foundation/cApl.h"
#include "foundation/cFile.h"
#include "foundation/cSystem.h"
#include "platform/core/AppInfo.h"
#include "platform/gui/Colors.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Label.h"
#include "ui/ControlFactory.h"
#include "ui/LineButton.h"
#include "ui/LoggedCall.h"

#include <QEvent>
#include <QMouseEvent>

namespace {
const QString kForm = QStringLiteral("frmVersion");
// The version is always that of the program's own file, whatever the running executable is called.
const QString kProgramFile = QStringLiteral("Panelo2");
constexpr uint32_t kLinkHot = RGBColor(255, 0, 0);
constexpr uint32_t kLinkCold = RGBColor(0, 0, 0);
}

frmVersion& gVersion()
{
    static frmVersion* form = new frmVersion;   // lives as long as the program
    return *form;
}

frmVersion::frmVersion() : HandledForm(kForm) {}

void frmVersion::createControls(FormWindow* w)
{
    SetDialogFrame(w, QStringLiteral("バージョン情報"), QSize(380, 236));
    w->setMouseTracking(true);

    // The background behind the texts: the mouse over it turns the link back to normal.
    labBack = NewControl<Label>(w, "labBack", QRect(12, 12, 356, 160), QString());
    labBack->setFrameShape(QFrame::Panel);
    labBack->setFrameShadow(QFrame::Sunken);
    labBack->setAutoFillBackground(true);
    SetBackColor(labBack, RGBColor(255, 255, 255));
    labBack->setMouseTracking(true);

    imgLogo = NewControl<QLabel>(w, "imgLogo", QRect(28, 22, 300, 56));
    imgLogo->setPixmap(PaneloLogo(imgLogo->size()));
    imgLogo->setAttribute(Qt::WA_TransparentForMouseEvents);

    labVer = NewControl<Label>(w, "labVer", QRect(32, 86, 320, 20), QString());
    labVer->setAttribute(Qt::WA_TransparentForMouseEvents);

    labInfo = NewControl<Label>(w, "labInfo", QRect(32, 118, 320, 20), QStringLiteral("お問い合わせ"));
    labInfo->setAttribute(Qt::WA_TransparentForMouseEvents);

    labUrl = NewControl<Label>(w, "labUrl", QRect(48, 140, 304, 20), QString());
    labUrl->setMouseTracking(true);
    SetForeColor(labUrl, kLinkCold);

    // Holds the link's mouse cursor; never shown.
    pctMouseIcon = NewControl<QLabel>(w, "pctMouseIcon", QRect(0, 0, 32, 32));
    pctMouseIcon->setCursor(Qt::PointingHandCursor);
    pctMouseIcon->hide();

    lbutClose = NewLineButton(w, "lbutClose", QStringLiteral("閉じる"), QRect(268, 188, 100, 34));

    for (QWidget* c : {static_cast<QWidget*>(w), static_cast<QWidget*>(labBack.data()), static_cast<QWidget*>(labUrl.data())})
        c->installEventFilter(this);
    QObject::connect(lbutClose, &LineButton::Click, w, [this] { handle("lbutClose_Click", [this] { unload(); }); });
}

void frmVersion::Form_Load()
{
    handle("Form_Load", [this] {
        SetData();
        SetControls();
        setCaption(caption() + QStringLiteral(" - ") + QStringLiteral("Panelo2"));
    });
}

void frmVersion::SetData()
{
    // Each step that fails is logged and tried once more (and logged again).
    RetryOnce(kForm, "SetData", [this] {
        labVer->setText(QStringLiteral("Ver.") + cSystem().GetFileVersion(gFile().MakeFullPath(AppPath(), kProgramFile)));
    }, SecondFailure::Logged);
    RetryOnce(kForm, "SetData", [this] { labUrl->setText(gApl().URL); }, SecondFailure::Logged);
}

void frmVersion::SetControls()
{
    gApl().SetButLineColor(lbutClose, kRoleExit);
    labUrl->setCursor(pctMouseIcon->cursor());
}

void frmVersion::setLinkHighlight(bool on)
{
    SetForeColor(labUrl, on ? kLinkHot : kLinkCold);
    QFont f = labUrl->font();
    f.setUnderline(on);
    labUrl->setFont(f);
}

void frmVersion::labUrl_Click()
{
    RetryOnce(kForm, "labUrl_Click", [this] {
        gFile().FileExecute(loadedWindow(), QStringLiteral("OPEN"), labUrl->text(), QString(), QString(), 1);
    }, SecondFailure::Logged);
}

bool frmVersion::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove) {
        if (watched == labUrl) {
            handle("labUrl_MouseMove", [this] { setLinkHighlight(true); });
            return true;   // not on to the window beneath, whose own move turns the link back
        }
        if (watched == labBack)
            handle("labBack_MouseMove", [this] { setLinkHighlight(false); });
        else
            handle("Form_MouseMove", [this] { setLinkHighlight(false); });
    } else if (event->type() == QEvent::MouseButtonRelease && watched == labUrl &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
               labUrl->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
        labUrl_Click();
    }
    return Form::eventFilter(watched, event);
}

void frmVersion::ShowModal(QWidget* owner) { showModal(owner); }
