#include "foundation/cFile.h"

#include "foundation/Globals.h"
#include "foundation/cBase.h"
#include "platform/core/AnsiText.h"
#include "platform/core/MsgBox.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QString cFile::MakeFullPath(const QString& folder, const QString& file) const
{
    const QString a = gBase().CvtStr(folder);
    const QString b = gBase().CvtStr(file);
    if (a.isEmpty())
        return b;
    if (b.isEmpty())
        return a;
    return a.endsWith(QLatin1Char('/')) ? a + b : a + QLatin1Char('/') + b;
}

namespace {

ProgramStarter& programStarter()
{
    static ProgramStarter starter;
    return starter;
}

AssociationFinder& associationFinder()
{
    static AssociationFinder finder;
    return finder;
}

bool StartProgram(const QString& program, const QStringList& arguments, const QString& folder)
{
    if (programStarter())
        return programStarter()(program, arguments, folder);
    return QProcess::startDetached(program, arguments, folder);
}

// The executable named by the Exec line of a desktop entry.
QString DesktopEntryProgram(const QString& desktopFile)
{
    QFile f(desktopFile);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    bool inEntry = false;
    while (!f.atEnd()) {
        const QString line = QString::fromUtf8(f.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inEntry = line == QLatin1String("[Desktop Entry]");
        else if (inEntry && line.startsWith(QLatin1String("Exec="))) {
            const QString program = QProcess::splitCommand(line.mid(5)).value(0);
            if (program.isEmpty())
                return QString();
            return QFileInfo(program).isAbsolute() ? program : QStandardPaths::findExecutable(program);
        }
    }
    return QString();
}

QString DefaultAssociation(const QString& file)
{
    const QString mime = QMimeDatabase().mimeTypeForFile(file).name();
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), mime});
    if (!query.waitForFinished(5000) || query.exitCode() != 0)
        return QString();
    const QString id = QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed().section(QLatin1Char(';'), 0, 0);
    if (id.isEmpty())
        return QString();
    const QString entry = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
    return entry.isEmpty() ? QString() : DesktopEntryProgram(entry);
}

// Copies one file over any existing target: into a temporary name beside the target first,
// then renamed over it, so a failed copy leaves the target as it was.
bool CopyOneFile(const QString& source, const QString& target)
{
    const QString temp = target + QStringLiteral(".~cp%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    if (!QFile::copy(source, temp))
        return false;
    if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(temp);
        return false;
    }
    return true;
}

bool CopyTree(const QString& source, const QString& target)
{
    const QFileInfo src(source);
    if (!src.isDir() || src.isSymLink())
        return CopyOneFile(source, target);
    if (!QDir().mkpath(target))
        return false;
    const QDir dir(source);
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : entries) {
        if (!CopyTree(dir.filePath(name), QDir(target).filePath(name)))
            return false;
    }
    return true;
}

} // namespace

ProgramStarter SetProgramStarter(ProgramStarter starter)
{
    ProgramStarter previous = programStarter();
    programStarter() = std::move(starter);
    return previous;
}

AssociationFinder SetAssociationFinder(AssociationFinder finder)
{
    AssociationFinder previous = associationFinder();
    associationFinder() = std::move(finder);
    return previous;
}

bool cFile::IsFileExists(const QString& path) const
{
    if (path.isEmpty())
        return false;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == EACCES;           // refused for lack of permission: it exists
    struct stat st {};
    const bool isFolder = ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
    ::close(fd);
    return !isFolder;                     // a folder does not open as a file
}

bool cFile::IsFolder(const QString& path) const
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

int32_t cFile::CopyFiles(QObject*, const QString& source, const QString& destination) const
{
    const QFileInfo src(source);
    if (source.isEmpty() || destination.isEmpty() || !src.exists())
        return 1;
    const QString target = IsFolder(destination) ? QDir(destination).filePath(src.fileName()) : destination;
    const QString from = src.absoluteFilePath(), to = QFileInfo(target).absoluteFilePath();
    if (from == to || to.startsWith(from + QLatin1Char('/')))
        return 1;
    if (!QDir().mkpath(QFileInfo(to).absolutePath()))
        return 1;
    return CopyTree(from, to) ? 0 : 1;
}

bool cFile::WilCopyFile(const QString& source, const QString& destination) const
{
    if (!IsFileExists(source))
        return false;
    const QString target = IsFolder(destination) ? MakeFullPath(destination, FileName(source)) : destination;
    if (!IsFolder(FolderName(target)))
        MakeDir(FolderName(target));
    if (IsFileExists(target) && !WilDeleteFile(target))
        return false;
    return CopyFiles(nullptr, source, target) == 0;
}

int32_t cFile::DeleteFiles(QObject*, const QString& files, bool, bool allowUndo) const
{
    const QFileInfo fi(files);
    if (files.isEmpty() || (!fi.exists() && !fi.isSymLink()))
        return 1;
    if (allowUndo)
        return QFile::moveToTrash(files) ? 0 : 1;
    if (fi.isDir() && !fi.isSymLink())
        return QDir(files).removeRecursively() ? 0 : 1;
    return QFile::remove(files) ? 0 : 1;
}

bool cFile::WilDeleteFile(const QString& path) const
{
    return IsFileExists(path) && QFile::remove(path);
}

int32_t cFile::FileSize(const QString& path) const
{
    if (!IsFileExists(path))
        return 0;
    return int32_t(std::min<qint64>(QFileInfo(path).size(), INT32_MAX));
}

bool cFile::SplitPath(const QString& path, QString& folder, QString& baseName, QString& extension) const
{
    QString s = path;
    const qsizetype dot = s.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0) {
        extension = s.mid(dot + 1);
        s.truncate(dot);
    }
    const qsizetype slash = s.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return false;
    baseName = s.mid(slash + 1);
    folder = s.left(slash);
    return true;
}

void cFile::SplitPathEx(const QString& path, QString& drive, QString& folder, QString& baseName,
                        QString& extension) const
{
    const cBase& base = gBase();
    QString rest = base.CvtStr(path);
    drive.clear();                        // Linux paths have no drive or share part
    folder.clear();
    baseName.clear();
    extension.clear();
    const qsizetype slash = rest.lastIndexOf(QLatin1Char('/'));
    if (slash >= 0) {
        folder = rest.left(slash);
        rest = rest.mid(slash + 1);
    }
    const qsizetype dot = rest.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0) {
        baseName = rest.left(dot);
        extension = rest.mid(dot + 1);
    } else {
        baseName = rest;
    }
    folder = base.CvtStr(folder);
    baseName = base.CvtStr(baseName);
    extension = base.CvtStr(extension);
}

namespace {

struct PathParts {
    QString drive, folder, base, ext;
};

PathParts SplitParts(const cFile& file, const QString& path)
{
    PathParts p;
    file.SplitPathEx(path, p.drive, p.folder, p.base, p.ext);
    return p;
}

} // namespace

QString cFile::DriveName(const QString& path) const
{
    return SplitParts(*this, path).drive;
}

QString cFile::PathName(const QString& path) const
{
    return SplitParts(*this, path).folder;
}

QString cFile::FileName(const QString& path) const
{
    const PathParts p = SplitParts(*this, path);
    return p.ext.isEmpty() ? p.base : p.base + QLatin1Char('.') + p.ext;
}

QString cFile::FileBaseName(const QString& path) const
{
    return SplitParts(*this, path).base;
}

QString cFile::ExtName(const QString& path) const
{
    return SplitParts(*this, path).ext;
}

QString cFile::WindowsDir() const
{
    return QString();
}

QString cFile::SystemDir() const
{
    return QString();
}

QString cFile::TempDir() const
{
    QString dir = QDir::tempPath();
    while (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    return dir;
}

QString cFile::GetTempFile(const QString& folder, const QString& prefix) const
{
    if (!IsFolder(folder))
        return QString();
    const QDir dir(folder);
    const QString pre = prefix.left(3);
    uint32_t unique = QRandomGenerator::global()->bounded(1u, 0x10000u);
    for (int tries = 0; tries < 0xFFFF; ++tries, unique = unique % 0xFFFF + 1) {
        const QString path = dir.filePath(pre + QStringLiteral("%1").arg(unique, 4, 16, QLatin1Char('0')).toUpper()
                                          + QStringLiteral(".tmp"));
        QFile f(path);
        if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return path;
        if (!QFileInfo::exists(path))
            return QString();             // the folder refuses new files
    }
    return QString();
}

bool cFile::MakeDir(const QString& path) const
{
    if (path.isEmpty())
        return false;
    QDir().mkpath(path);
    return IsFolder(path);
}

QString cFile::GetExePath(const QString& file) const
{
    static const struct {
        int code;
        const char* text;
    } kMessages[] = {
        {0, "システムメモリが不足しています。"}, {2, "ファイルが見つかりません。"},
        {3, "ファイルのパスが無効です。"}, {8, "メモリが不足しています。"},
        {31, "関連付けされていないファイルです。"},
    };
    const QFileInfo fi(file);
    int code = 0;
    if (file.isEmpty() || !fi.exists()) {
        code = QFileInfo(fi.absolutePath()).isDir() ? 2 : 3;
    } else if (fi.isFile() && fi.isExecutable()) {
        return fi.absoluteFilePath();
    } else {
        const QString program = associationFinder() ? associationFinder()(fi.absoluteFilePath())
                                                    : DefaultAssociation(fi.absoluteFilePath());
        if (!program.isEmpty())
            return program;
        code = 31;
    }
    QString text = QString::number(code) + QStringLiteral(":エラー ファイルのパスを確認してください。 ");
    for (const auto& m : kMessages) {
        if (m.code == code)
            text = QString::fromUtf8(m.text);
    }
    MsgBox(text, vbCritical, QStringLiteral("GetExePath"));
    return QString();
}

bool cFile::AppendFile(const QString& path, const QString& text) const
{
    const QString folder = FolderName(path);
    if (!IsFolderExist(folder))
        MakeDir(folder);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray line = ToAnsi(text) + QByteArrayLiteral("\r\n");
    const bool written = f.write(line) == line.size();
    f.close();
    return written && f.error() == QFileDevice::NoError;
}

bool cFile::IsFolderExist(const QString& path) const
{
    return IsFolder(path);
}

void cFile::FileExecute(QObject*, const QString& operation, const QString& file, const QString& parameters,
                        const QString& folder, int16_t) const
{
    const QString verb = operation.trimmed().toLower();
    if (file.isEmpty())
        return;
    const QString opener = QStringLiteral("xdg-open");
    if (verb == QLatin1String("explore")) {
        StartProgram(opener, {file}, folder);
    } else if (verb.isEmpty() || verb == QLatin1String("open")) {
        const QFileInfo target(QDir(folder).absoluteFilePath(file));
        if (target.isFile() && target.isExecutable())
            StartProgram(target.absoluteFilePath(), QProcess::splitCommand(parameters), folder);
        else
            StartProgram(opener, {file}, folder);
    }
}
