#include "app/fSplash.h"

#include "app/Logo.h"
#include "platform/gui/Colors.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Events.h"
#include "platform/gui/Label.h"
#include "ui/ControlFactory.h"

#include <QGuiApplication>
#include <QScreen>

fSplash::fSplash() : Form(QStringLiteral("fSplash")) {}

fSplash& gSplash()
{
    static fSplash* form = new fSplash;   // lives as long as the program
    return *form;
}

void fSplash::createControls(FormWindow* w)
{
    w->setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    w->setWindowTitle(QStringLiteral("Panelo2"));
    w->setFixedSize(420, 210);
    SetBackColor(w, RGBColor(250, 250, 246));
    w->setAutoFillBackground(true);

    auto* frame = NewControl<Label>(w, "labFrame", QRect(0, 0, 420, 210), QString());
    frame->setFrameShape(QFrame::Box);
    SetBackStyle(frame, 0);

    imgLogo = NewControl<QLabel>(w, "imgLogo", QRect(24, 20, 300, 56));
    imgLogo->setPixmap(PaneloLogo(imgLogo->size()));

    labSystem = NewControl<Label>(w, "labSystem", QRect(28, 90, 360, 28), QStringLiteral("板取り計算システム"));
    labSystem->setFont(WindowFont(true, 14));
    SetBackStyle(labSystem, 0);

    Label1 = NewControl<Label>(w, "Label1", QRect(30, 124, 360, 18), QStringLiteral("母材と部材から切断パターンを計算します。"));
    Label1->setFont(WindowFont());
    SetBackStyle(Label1, 0);

    labMessage = NewControl<Label>(w, "labMessage", QRect(30, 172, 360, 18), QString());
    labMessage->setFont(WindowFont());
    SetBackStyle(labMessage, 0);
    SetForeColor(labMessage, RGBColor(0, 0, 128));

    if (QScreen* screen = QGuiApplication::primaryScreen())
        w->move(screen->availableGeometry().center() - QPoint(w->width() / 2, w->height() / 2));
}

void fSplash::FormOpen()
{
    window();
    labMessage->setText(QString());
    FormSizing();
    show();
    DoEvents();
}

void fSplash::FormClose() { unload(); }

void fSplash::PutMessage(const QString& text)
{
    try {
        window();
        labMessage->setText(text);
        show();
        DoEvents();
    } catch (...) {
    }
}
