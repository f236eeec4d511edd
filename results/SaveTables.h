#pragma once
// The save database's copy tables and the statements that move one computation between them
// and the working tables. Every statement runs on gDaoSave, which reaches the working tables by
// their plain names, so a caller's one transaction covers both files. Every INSERT names its
// target columns: SQLite matches the selected columns by position, not by name.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

// One of the eight copy tables, in the order of the steps of a save, a recall and a deletion.
struct SaveTable {
    const char* saveProc;      // frmSave's step
    const char* recallProc;    // frmLoad's recall step
    const char* deleteProc;    // frmLoad's deletion step
    QString copyTable;         // in the save database, keyed by 保存番号
    QString workTable;         // the working table
    QStringList columns;       // after 保存番号, in copy order
};

const std::vector<SaveTable>& SaveTables();

// Copies the working table into the copy table under the number, replacing the rows the number
// had there. True when rows were copied; false on an empty working table or a failed statement.
bool SaveCopyStep(const SaveTable& table, int32_t number);
// Replaces the working table's rows by the saved rows of the number. True when rows were copied.
// The list (パターンリスト) is only emptied: the main window rebuilds it from the patterns. A
// column the save does not hold (スリット線) gets what the table gives a new row.
bool RecallStep(const SaveTable& table, int32_t number);
// Deletes the number's rows of 保存 or of a copy table. True when rows were deleted; the saved
// list (保存パターンリスト) may have none.
bool DeleteStep(const QString& table, int32_t number);

// Runs the steps in order in one transaction through gDaoSave: committed when every step
// succeeds, rolled back at the first that fails (the later ones do not run). A step that
// throws is logged under module and its procedure (LoggedCall.h) and fails.
struct SaveStep {
    QString procedure;
    std::function<bool()> run;
};
bool RunSaveTransaction(const QString& module, const std::vector<SaveStep>& steps);
