#include "bench/BenchProgram.h"

#include "app/Startup.h"
#include "app/frmTavo.h"
#include "foundation/Globals.h"
#include "foundation/cApl.h"
#include "foundation/cDao.h"
#include "platform/core/AppInfo.h"
#include "platform/core/Registry.h"
#include "ui/LineButton.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cstdio>

void out(const QString& line)
{
    std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stdout);
    std::fflush(stdout);
}

void err(const QString& line) { std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stderr); }

QString seconds(double s) { return QString::number(s, 'f', 3); }

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

void chooseQtPlatform()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

std::optional<double> runRunner(const QStringList& arguments)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/panelo2-run"), arguments);
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        err(QStringLiteral("panelo2-run failed: ") + QString::fromUtf8(p.readAllStandardOutput()));
        return std::nullopt;
    }
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n')))
        if (line.startsWith(QStringLiteral("seconds ")))
            return line.mid(8).toDouble();
    err(QStringLiteral("panelo2-run printed no seconds"));
    return std::nullopt;
}

void useProgramFolder(const QString& folder)
{
    SetAppPath(folder);
    SetAppExeName(QStringLiteral("Panelo2"));
    reg::SetRootFile(reg::Root::LocalMachine, folder + QStringLiteral("/HKEY_LOCAL_MACHINE.reg"));
    reg::SetRootFile(reg::Root::CurrentUser, folder + QStringLiteral("/HKEY_CURRENT_USER.reg"));
    ReleaseApl();
}

void closeProgram()
{
    frmTavo& tavo = gTavo();
    if (tavo.isLoaded()) {
        tavo.Busy = false;
        tavo.unload();
    }
    ReleaseInstanceLock();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    gDaoSave().Disconnect();
    gDao().Disconnect();
}

bool press(LineButton* button)
{
    if (!button || !button->isVisible() || !button->isEnabled()) {
        err(QStringLiteral("cannot press ") + (button ? button->caption() : QStringLiteral("a button")) +
            QStringLiteral(": it is not there, not shown or disabled"));
        return false;
    }
    QTest::mouseClick(button->muButton(), Qt::LeftButton);
    return true;
}

PaintCount::PaintCount(std::function<QWidget*()> widget) : widget_(std::move(widget))
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool PaintCount::eventFilter(QObject* o, QEvent* e)
{
    if (e->type() == QEvent::Paint && o == widget_())
        ++count;
    return false;
}

void waitForPaint(const PaintCount& paints, int before)
{
    QElapsedTimer limit;
    limit.start();
    while (paints.count <= before && limit.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}
