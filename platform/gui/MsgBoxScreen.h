#pragma once
// Message boxes on screen: the style's buttons (with the Japanese captions of the system's
// boxes), icon and default button; CR, LF and CR LF all break lines; the box is wide enough for
// its whole title in the title bar. The program installs it at start; tests keep their scripted
// answerer instead.
#include <QString>
#include <memory>

class QMessageBox;
class QAbstractButton;

void InstallScreenMsgBox();

// The box for a style, not yet shown; the result code of a button of it (2 Cancel when none).
std::unique_ptr<QMessageBox> BuildMsgBox(const QString& text, int style, const QString& title);
int MsgBoxResultOf(const QMessageBox& box, const QAbstractButton* clicked);
QString MsgBoxLines(const QString& text);   // CR LF and CR as LF
