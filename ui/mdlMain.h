#pragma once
// The shared form procedures: the standard set-up of input controls and grids, the per-type
// styling pass over a form, grid value items, the pixel scale of column widths, special
// folders, bringing a window to the front and the timed wait.
#include <QString>
#include <QWindow>
#include <cstdint>

class Form;
class QObject;
class QWidget;
class TDBGrid;
class TDBColumn;

QString GetSpecialFolderPath(int32_t folderId);   // 0 the desktop; "" when it cannot be found
QString StripNull(const QString& text);            // the text before its first NUL; "" without one
void InitInputControls(Form& form);
void InitGridStyle(Form& form, TDBGrid& grid);
void SetFormControlsStyle(Form& form);
double PixelScale(double value, float factor);     // value x factor x twips per pixel x (twips per pixel / 15)
void AddValueItem(TDBColumn& column, const QString& value, const QString& display, bool makeDefault, bool validate);
void InitReportHook(QObject* report);              // nothing
void BringToFront(QWidget* window);
void Wait(double seconds, bool keepEvents);
WId GetDesktopHwnd();                              // 0: the whole screen for a screen grab
