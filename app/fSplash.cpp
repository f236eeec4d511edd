#include "app/fSplash.h"

#include "app/Logo.h"
#include "platform/gui/Colors.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Events.h"
#include "platform/gui/GuiSetup.h"
#include "platform/gui/Label.h"

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

    auto* frame = new Label(QString(), w);
    frame->setGeometry(0, 0, 420, 210);
    frame->setFrameShape(QFrame::Box);
    SetBackStyle(frame, 0);

    imgLogo = new QLabel(w);
    imgLogo->setGeometry(24, 20, 300, 56);
    imgLogo->setPixmap(PaneloLogo(imgLogo->size()));

    QFont big(QString::fromUtf16(kFontPGothic));
    big.setPointSize(14);
    big.setBold(true);
    labSystem = new Label(QStringLiteral("板取り計算システム"), w);
    labSystem->setFont(big);
    labSystem->setGeometry(28, 90, 360, 28);
    SetBackStyle(labSystem, 0);

    QFont small(QString::fromUtf16(kFontPGothic));
    small.setPointSize(9);
    Label1 = new Label(QStringLiteral("母材と部材から切断パターンを計算します。"), w);
    Label1->setFont(small);
    Label1->setGeometry(30, 124, 360, 18);
    SetBackStyle(Label1, 0);

    labMessage = new Label(QString(), w);
    labMessage->setFont(small);
    labMessage->setGeometry(30, 172, 360, 18);
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
