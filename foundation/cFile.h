#pragma once
// File and path utilities: plain calls that return a value instead of raising an error.
// Paths use "/" between folder levels; Linux paths have no drive part.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

class QObject;

class cFile {
public:
    // Joins a folder and a file name with exactly one "/" (either alone when the other is empty).
    QString MakeFullPath(const QString& folder, const QString& file) const;

    // True when the path opens for reading, or its opening is refused for lack of permission.
    bool IsFileExists(const QString& path) const;
    bool IsFile(const QString& path) const { return IsFileExists(path); }
    bool IsFolder(const QString& path) const;           // an existing folder (a trailing "/" allowed)
    // Copies one file or folder; an existing target is replaced, missing folders are created.
    // 0 on success, nonzero on failure.
    int32_t CopyFiles(QObject* owner, const QString& source, const QString& destination) const;
    bool WilCopyFile(const QString& source, const QString& destination) const;
    // Deletes one file or folder (into the desktop's trash with allowUndo); 0 on success.
    int32_t DeleteFiles(QObject* owner, const QString& files, bool noConfirmation, bool allowUndo) const;
    bool WilDeleteFile(const QString& path) const;
    int32_t FileSize(const QString& path) const;        // 0 when IsFileExists is false

    // Splits off the extension (after the last ".") and then folder and base name (at the last
    // "/"); false without a "/". Arguments that find no part keep their values.
    bool SplitPath(const QString& path, QString& folder, QString& baseName, QString& extension) const;
    void SplitPathEx(const QString& path, QString& drive, QString& folder, QString& baseName,
                     QString& extension) const;
    QString DriveName(const QString& path) const;
    QString PathName(const QString& path) const;
    QString FolderName(const QString& path) const { return PathName(path); }
    QString FileName(const QString& path) const;
    QString FileBaseName(const QString& path) const;
    QString ExtName(const QString& path) const;

    QString WindowsDir() const;                          // no such folder on Linux: ""
    QString SystemDir() const;                           // no such folder on Linux: ""
    QString TempDir() const;                             // without a trailing "/"
    QString TempPath() const { return TempDir(); }
    // Creates a new empty file with a unique name (the prefix's first three characters, four
    // hexadecimal digits, ".tmp") in the folder; its full path, or "" on failure.
    QString GetTempFile(const QString& folder, const QString& prefix) const;
    QString TempFile(const QString& folder, const QString& prefix) const { return GetTempFile(folder, prefix); }
    bool MakeDir(const QString& path) const;             // the folder with all missing levels

    // The program the desktop opens the file with; "" and a critical box titled "GetExePath"
    // when there is none.
    QString GetExePath(const QString& file) const;
    // Appends the text and CR LF to the file in CP932 (the file and its folder are created).
    bool AppendFile(const QString& path, const QString& text) const;
    bool IsFolderExist(const QString& path) const;
    // Opens a document or address with the desktop's default program ("" or "open"; "explore"
    // opens a folder), or runs a program with its parameters in the folder. Other operations
    // have no desktop equivalent and do nothing. The owner and show command are not used.
    void FileExecute(QObject* owner, const QString& operation, const QString& file,
                     const QString& parameters, const QString& folder, int16_t show) const;
};

// How cFile reaches the desktop; tests replace these. Each setter returns the previous one, and
// an empty function restores the default.
// Starts a program detached in a working folder: by default QProcess::startDetached (documents
// and addresses go to xdg-open, the desktop's opener).
using ProgramStarter = std::function<bool(const QString& program, const QStringList& arguments,
                                          const QString& folder)>;
ProgramStarter SetProgramStarter(ProgramStarter starter);
// The program that the desktop associates with an existing file, "" when there is none: by
// default the desktop entry that xdg-mime names for the file's MIME type.
using AssociationFinder = std::function<QString(const QString& file)>;
AssociationFinder SetAssociationFinder(AssociationFinder finder);
