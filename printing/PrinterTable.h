#pragma once
// What the printing windows share about table M_Printer and the report names: the default
// row's name, the OS flag that chooses a row's printer columns, the print modes and their
// names, and the report names listed in the INI file.
#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

inline const QString kDefaultReportName = QStringLiteral("(標準プリンタ設定)");

// 1 on the NT family (PrinterNameNT, PrinterPortNT), else 2 (PrinterName9x, PrinterPort9x).
// Linux is no NT-family Windows: always 2.
int16_t PrinterOsFlag();
QString PrinterNameColumn(int16_t osFlag);
QString PrinterPortColumn(int16_t osFlag);

// The print modes with the names the list shows (0 選択, 1 印刷, 2 プレビュー, 3 選択+PDF, 4 全て,
// 9 確認なし).
const std::vector<std::pair<int, QString>>& PrintModeNames();

// The report names of section "ReportNames" of the INI file beside the executable, with their
// running numbers: "ReportName01", "ReportName02" ... read up to the first empty value (which
// is written back empty), each cut to its first 50 bytes of CP932.
std::vector<std::pair<int, QString>> IniReportNames();
QString ReportIniPath();

// Runs one statement that writes M_Printer in a transaction of its own: committed when it
// changed a row (true), else rolled back (false). A database error is thrown to the caller.
bool WritePrinterRow(const QString& sql);
