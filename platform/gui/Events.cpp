#include "platform/gui/Events.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <cmath>

namespace {
double& scale()
{
    static double s = 1.0;
    return s;
}
}  // namespace

void DoEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void SetWaitScale(double factor) { scale() = factor; }
double WaitScale() { return scale(); }
qint64 WaitMilliseconds(double seconds) { return qint64(std::ceil(seconds * 1000.0 * scale())); }

void WaitSeconds(double seconds, bool keepEvents)
{
    if (!(seconds > 0))
        return;
    const qint64 ms = WaitMilliseconds(seconds);
    QElapsedTimer clock;   // a monotonic clock: a wait never ends early nor hangs on a wrap
    clock.start();
    while (clock.elapsed() < ms) {
        const qint64 left = ms - clock.elapsed();
        if (keepEvents) {
            QEventLoop loop;
            QTimer::singleShot(int(left), &loop, &QEventLoop::quit);
            loop.exec();
        } else {
            QThread::msleep(unsigned(left));
        }
    }
}

QWidget* LastActivePopup(QWidget* window)
{
    if (!window)
        return nullptr;
    window = window->window();
    if (QWidget* modal = QApplication::activeModalWidget())
        for (QWidget* p = modal->parentWidget(); p; p = p->parentWidget())
            if (p->window() == window)
                return modal;
    return window;
}

void SetForegroundWindow(QWidget* window)
{
    if (!window)
        return;
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))   // it cannot raise windows
        window->raise();
    window->activateWindow();
    QApplication::setActiveWindow(window);
}

QString SpecialFolderPath(int id)
{
    QString path;
    switch (id) {
    case 0x00:   // desktop
    case 0x10:   // desktop folder
        path = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        break;
    case 0x05:   // documents
        path = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        break;
    case 0x0D:
        path = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
        break;
    case 0x0E:
        path = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
        break;
    case 0x27:
        path = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        break;
    case 0x1A:   // application data
        path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        break;
    case 0x1C:   // local application data
        path = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
        break;
    case 0x15:   // templates
        path = QStandardPaths::writableLocation(QStandardPaths::TemplatesLocation);
        break;
    case 0x28:   // the user's profile
        path = QDir::homePath();
        break;
    default:
        return QString();
    }
    return !path.isEmpty() && QDir(path).exists() ? QDir::toNativeSeparators(path) : QString();
}
