#pragma once
// The screen print of a window: the window is drawn into a picture 4 pixels wider and higher
// than itself, the picture is shown whole in Image1 of the report page (13333 by 10000 twips),
// in its own proportions and centred, and cPrinter prints it under the report name "画面印刷"
// in landscape, with the printer settings of table M_Printer in the working database, after
// its confirmation dialog.
//
// The main window's print button:   Busy = true; ScreenPrint(window, "frmTavo"); Busy = false;
// The detail window's print button: ScreenPrint(window, "frmDetail", &PrintBusy);
#include <QImage>
#include <QString>

class QWidget;

// The capture and print. With printBusy: nothing when it is set, else it is set while the
// print runs. Errors are written to the error log under the module and "PrintWindow".
void PrintWindow(QWidget* window, const QString& module, bool* printBusy = nullptr);

// A print button: brings the window to the front, waits one second with events so that it
// repaints, then PrintWindow. With printBusy, a click while a print of the window is under way
// (in its wait, its capture or its dialogs) brings the window to the front and waits, and
// prints nothing more. Errors are logged under the module and "lbutPrint_Click".
void ScreenPrint(QWidget* window, const QString& module, bool* printBusy = nullptr);

// The picture PrintWindow takes of a window.
QImage ScreenPicture(QWidget* window);
