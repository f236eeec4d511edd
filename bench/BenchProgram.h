#pragma once
// What the benchmarks that drive the real program in their own process share: printing, medians,
// the headless runner run as a child process, the program's globals pointed at a program folder
// and released again, presses of line buttons, and waiting until a widget has been painted.
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class LineButton;
class QWidget;

void out(const QString& line);    // to stdout, flushed
void err(const QString& line);    // to stderr
QString seconds(double s);        // three decimals
double median(std::vector<double> values);   // 0 of none

// Before the application object: offscreen unless QT_QPA_PLATFORM or DISPLAY says otherwise.
void chooseQtPlatform();

// panelo2-run beside this executable with these arguments: its `seconds`, or nothing after a
// message (a failure, or no figure).
std::optional<double> runRunner(const QStringList& arguments);

// The program's folder, executable name and registry files are those of the folder, and the
// application settings are read afresh from it.
void useProgramFolder(const QString& folder);
// The main window unloaded, the instance lock given up and both databases disconnected, so the
// next run starts in a clean process state.
void closeProgram();

// Presses a line button as a user does: false, after a message, when it is hidden or disabled.
bool press(LineButton* button);

// Counts the paintings of a widget, whichever it is at the moment of each paint (a window may
// not exist yet when the count starts).
class PaintCount : public QObject {
public:
    explicit PaintCount(std::function<QWidget*()> widget);
    bool eventFilter(QObject* o, QEvent* e) override;
    int count = 0;

private:
    std::function<QWidget*()> widget_;
};
// Lets events run until the widget has been painted more than `before` times (at most 10 s).
void waitForPaint(const PaintCount& paints, int before);
