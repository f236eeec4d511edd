#pragma once
// The event pump and the waits of the forms run time, bringing a window to the front, and the
// shell's special folders.
#include <QString>

class QWidget;

void DoEvents();                                   // lets pending window events run once
// Returns once the clock has advanced by seconds. With keepEvents the window events run
// meanwhile (an event loop); without, the thread sleeps. seconds <= 0 returns at once.
void WaitSeconds(double seconds, bool keepEvents);
// Tests shorten every wait by a factor (1 = real time).
void SetWaitScale(double factor);
double WaitScale();
// How long WaitSeconds(seconds, ...) lasts under the scale, in whole milliseconds (rounded up).
qint64 WaitMilliseconds(double seconds);

// The window's last active modal dialog, or the window itself.
QWidget* LastActivePopup(QWidget* window);
void SetForegroundWindow(QWidget* window);         // raises and activates it

// The path of a shell special folder (0 desktop, 5 documents, 26 application data, 40 profile
// ...); empty text for an unknown number or a folder that does not exist.
QString SpecialFolderPath(int folderId);
