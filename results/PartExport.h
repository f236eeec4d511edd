#pragma once
// The export of the detail window's part table to a text file (".txt" or ".csv", the same
// content): the captions of columns 1 to 5 joined by ",", then per row an apostrophe and the
// values of those columns joined by ",", in CP932 with CR LF after every line.
//
// The file is written beside its target and renamed over it only once every line is written:
// a failure leaves an existing file as it was, and is reported, never a success.
#include <QString>
#include <QStringList>

class TDBGrid;

// The save dialog of the export ("ファイルを保存", the text and CSV filters, the desktop, the
// offered name, "txt"); "" when the user cancels or the dialog fails (logged).
QString GetPathSaveTxt(const QString& fileName);

// The lines of the part table, in its order, read without moving its current row. A table
// without rows raises (its first row cannot be reached).
QStringList PartTableLines(TDBGrid& grid);

// Writes the lines to path; false with the system's description of the error otherwise.
bool WriteAnsiLines(const QString& path, const QStringList& lines, QString* error);

// The export button: the dialog, then the file; a failure shows "ファイルへの書込みに失敗しました。"
// with the error's description (critical, titled "lbutOutput_Click").
void ExportPartTable(TDBGrid& grid);
