#pragma once
// The file open and save dialogs: one dialog record with a property per field, filter texts
// built from description and extension pairs, and after a save the picked filter's extension
// on the chosen name. The dialog itself is Qt's; tests replace it.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>

class QFileDialog;
class QWidget;

// Dialog flags the record carries.
enum FileDialogFlag { kOfnOverwritePrompt = 0x2, kOfnHideReadOnly = 0x4, kOfnFileMustExist = 0x1000 };

// The dialog record. Texts are buffers as the dialogs fill them: the chosen path ends at a NUL.
// A filter is pairs of description and pattern ("*.txt"), every item ended by a NUL.
struct OpenFileName {
    QWidget* owner = nullptr;
    QString filter;
    int32_t filterIndex = 1;                  // counted from 1
    QString file;                             // the file buffer
    int32_t maxFile = 256;
    QString fileTitle;                        // the file title buffer
    int32_t maxFileTitle = 256;
    QString initialDir;
    QString title;
    int32_t flags = 0;
    QString defExt;
};

// Shows the open (save false) or the save dialog for the record. On a confirmed name it writes
// the chosen path (NUL-ended) into file, the name into fileTitle and the picked filter's number
// into filterIndex, and returns true; false when the user cancels.
using FileDialogRunner = std::function<bool(OpenFileName& record, bool save)>;
// Returns the previous runner; an empty one restores Qt's dialog.
FileDialogRunner SetFileDialogRunner(FileDialogRunner runner);
// Qt's dialog as the default runner sets it up for a record (not shown yet).
std::unique_ptr<QFileDialog> CreateFileDialog(const OpenFileName& record, bool save);

class cFileDlg {
public:
    cFileDlg();

    QWidget* hWndOwner() const { return ofn_.owner; }
    void setHWndOwner(QWidget* owner) { ofn_.owner = owner; }
    QString Filter() const { return ofn_.filter; }
    void setFilter(const QString& filter) { ofn_.filter = filter; }
    int32_t FilterIndex() const { return ofn_.filterIndex; }
    void setFilterIndex(int32_t index) { ofn_.filterIndex = index; }
    QString FileName() const;                 // the file buffer up to its first NUL
    void setFileName(const QString& buffer) { ofn_.file = buffer; }
    int32_t MaxFileLen() const { return ofn_.maxFile; }
    void setMaxFileLen(int32_t size) { ofn_.maxFile = size; }
    QString FileTitle() const { return ofn_.fileTitle; }
    void setFileTitle(const QString& buffer) { ofn_.fileTitle = buffer; }
    int32_t MaxFileTitleLen() const { return ofn_.maxFileTitle; }
    void setMaxFileTitleLen(int32_t size) { ofn_.maxFileTitle = size; }
    QString InitialPath() const { return ofn_.initialDir; }
    void setInitialPath(const QString& path) { ofn_.initialDir = path; }
    QString Title() const { return ofn_.title; }
    void setTitle(const QString& title) { ofn_.title = title; }
    int32_t Options() const { return ofn_.flags; }
    void setOptions(int32_t flags) { ofn_.flags = flags; }

    // The chosen file's full path; "" when the user cancels.
    QString OpenFileDialog(QWidget* owner, const QString& initialFolder, const QString& filter,
                           const QString& title, int32_t options);
    // The chosen full path with the picked filter's extension added when the name does not
    // carry it already (compared without regard to case); "" when the user cancels.
    QString SaveFileDialog(QWidget* owner, const QString& initialFolder, const QString& filter,
                           const QString& title, int32_t options, const QString& defaultName,
                           const QString& defaultExt);
    // Pairs (description, extension) as "description(*.ext)" NUL "*.ext" NUL; "" for an empty
    // list or an odd number of items.
    QString CreateFilters(const QStringList& list) const;
    void ClearFileName();

private:
    void InitOpenFileName();
    QString GetFilterExt(const QString& filter, int32_t index) const;
    QString GetFileExt(const QString& path) const;

    OpenFileName ofn_;
};
