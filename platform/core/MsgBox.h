#pragma once
// The message box entry point. The style is the sum of a button set, an icon and a default
// button; the result is the code of the button chosen.
#include <QString>
#include <functional>

enum MsgBoxStyle {
    vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2, vbYesNoCancel = 3, vbYesNo = 4, vbRetryCancel = 5,
    vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64,
    vbDefaultButton1 = 0, vbDefaultButton2 = 256, vbDefaultButton3 = 512,
};
enum MsgBoxResult { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

int MsgBox(const QString& text, int style = vbOKOnly, const QString& title = QString());

// Who shows the boxes. Without a handler the box is written to stderr and answered with its
// default button (headless runs).
using MsgBoxHandler = std::function<int(const QString& text, int style, const QString& title)>;
MsgBoxHandler SetMsgBoxHandler(MsgBoxHandler handler);    // returns the previous handler

// The default button's code for a style (what a headless run answers).
int MsgBoxDefaultAnswer(int style);
