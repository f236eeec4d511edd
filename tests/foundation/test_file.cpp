// File and path utilities: existence tests, copy and delete, path parts, temporary files,
// folders, appending lines, the associated program and opening through the desktop.
#include "foundation/cFile.h"
#include "platform/core/AnsiText.h"
#include "tests/support/ScriptedMsgBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

const cFile f;

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
}

QByteArray ReadFile(const QString& path)
{
    QFile in(path);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("<missing>");
}

class FileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
};

TEST(PathTest, SplitPathExGivesFolderBaseAndExtension)
{
    struct Case { const char* path; const char *folder, *base, *ext, *fileName; };
    const Case cases[] = {
        {"/dir/sub/name.tar.gz", "/dir/sub", "name.tar", "gz", "name.tar.gz"},
        {"/f.txt", "", "f", "txt", "f.txt"},
        {"name", "", "name", "", "name"},
        {"  /a/b.c  ", "/a", "b", "c", "b.c"},
        {"/a.b/c", "/a.b", "c", "", "c"},
        {"/dir/sub/", "/dir/sub", "", "", ""},
        {"", "", "", "", ""},
    };
    for (const Case& c : cases) {
        const QString p = QString::fromUtf8(c.path);
        QString drive = QStringLiteral("x"), folder = drive, base = drive, ext = drive;
        f.SplitPathEx(p, drive, folder, base, ext);
        EXPECT_EQ(QString(), drive) << c.path;
        EXPECT_EQ(QString::fromUtf8(c.folder), folder) << c.path;
        EXPECT_EQ(QString::fromUtf8(c.base), base) << c.path;
        EXPECT_EQ(QString::fromUtf8(c.ext), ext) << c.path;
        EXPECT_EQ(QString::fromUtf8(c.fileName), f.FileName(p)) << c.path;
        EXPECT_EQ(folder, f.PathName(p));
        EXPECT_EQ(folder, f.FolderName(p));
        EXPECT_EQ(base, f.FileBaseName(p));
        EXPECT_EQ(ext, f.ExtName(p));
        EXPECT_EQ(QString(), f.DriveName(p));
    }
}

TEST(PathTest, SplitPathLeavesMissingPartsAlone)
{
    QString folder, base, ext;
    EXPECT_TRUE(f.SplitPath(QStringLiteral("/dir/f.txt"), folder, base, ext));
    EXPECT_EQ(QStringLiteral("/dir"), folder);
    EXPECT_EQ(QStringLiteral("f"), base);
    EXPECT_EQ(QStringLiteral("txt"), ext);

    folder = base = ext = QStringLiteral("kept");
    EXPECT_FALSE(f.SplitPath(QStringLiteral("f.txt"), folder, base, ext));
    EXPECT_EQ(QStringLiteral("txt"), ext);
    EXPECT_EQ(QStringLiteral("kept"), folder);
    EXPECT_EQ(QStringLiteral("kept"), base);

    // The last "." may stand in a folder name.
    EXPECT_TRUE(f.SplitPath(QStringLiteral("/a.b/c"), folder, base, ext));
    EXPECT_EQ(QStringLiteral("b/c"), ext);
    EXPECT_EQ(QStringLiteral("a"), base);
    EXPECT_EQ(QString(), folder);

    EXPECT_EQ(QString(), f.WindowsDir());
    EXPECT_EQ(QString(), f.SystemDir());
}

TEST_F(FileTest, ExistenceFolderAndSize)
{
    WriteFile(path(QStringLiteral("a.txt")), "12345");
    QDir(dir.path()).mkdir(QStringLiteral("sub"));
    struct Case { QString path; bool file, folder; int32_t size; };
    const Case cases[] = {
        {path(QStringLiteral("a.txt")), true, false, 5},
        {path(QStringLiteral("sub")), false, true, 0},
        {path(QStringLiteral("sub/")), false, true, 0},
        {path(QStringLiteral("missing.txt")), false, false, 0},
        {QString(), false, false, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.file, f.IsFileExists(c.path)) << c.path.toStdString();
        EXPECT_EQ(c.file, f.IsFile(c.path)) << c.path.toStdString();
        EXPECT_EQ(c.folder, f.IsFolder(c.path)) << c.path.toStdString();
        EXPECT_EQ(c.folder, f.IsFolderExist(c.path)) << c.path.toStdString();
        EXPECT_EQ(c.size, f.FileSize(c.path)) << c.path.toStdString();
    }
    if (::geteuid() != 0) {               // a file refused for lack of permission exists
        QFile::setPermissions(path(QStringLiteral("a.txt")), QFileDevice::Permissions());
        EXPECT_TRUE(f.IsFileExists(path(QStringLiteral("a.txt"))));
    }
}

TEST_F(FileTest, MakeDirCreatesEveryLevel)
{
    const QString deep = path(QStringLiteral("x/y/z"));
    EXPECT_TRUE(f.MakeDir(deep));
    EXPECT_TRUE(QFileInfo(deep).isDir());
    EXPECT_TRUE(f.MakeDir(deep));          // existing already
    WriteFile(path(QStringLiteral("file")), "x");
    EXPECT_FALSE(f.MakeDir(path(QStringLiteral("file"))));
    EXPECT_FALSE(f.MakeDir(QString()));
}

TEST_F(FileTest, WilCopyFileCopiesReplacesAndReportsFailure)
{
    const QString src = path(QStringLiteral("src.txt"));
    WriteFile(src, "source");
    QDir(dir.path()).mkdir(QStringLiteral("into"));

    EXPECT_FALSE(f.WilCopyFile(path(QStringLiteral("none.txt")), path(QStringLiteral("into"))));
    EXPECT_TRUE(f.WilCopyFile(src, path(QStringLiteral("into"))));                 // into a folder
    EXPECT_EQ("source", ReadFile(path(QStringLiteral("into/src.txt"))));
    EXPECT_TRUE(f.WilCopyFile(src, path(QStringLiteral("new/deep/copy.txt"))));    // folders made
    EXPECT_EQ("source", ReadFile(path(QStringLiteral("new/deep/copy.txt"))));

    const QString existing = path(QStringLiteral("old.txt"));
    WriteFile(existing, "old contents");
    EXPECT_TRUE(f.WilCopyFile(src, existing));
    EXPECT_EQ("source", ReadFile(existing));

    // A target that cannot be deleted, and a folder that cannot be made: false, nothing copied.
    const QByteArray status = ReadFile(QStringLiteral("/proc/self/cmdline"));
    EXPECT_FALSE(f.WilCopyFile(src, QStringLiteral("/proc/self/cmdline")));
    EXPECT_EQ(status, ReadFile(QStringLiteral("/proc/self/cmdline")));
    EXPECT_FALSE(f.WilCopyFile(src, QStringLiteral("/proc/panelo2-none/copy.txt")));
}

TEST_F(FileTest, CopyFilesAndDeleteFilesOnFilesAndFolders)
{
    QDir(dir.path()).mkpath(QStringLiteral("tree/sub"));
    WriteFile(path(QStringLiteral("tree/sub/a.txt")), "a");
    WriteFile(path(QStringLiteral("tree/.hidden")), "h");

    EXPECT_EQ(0, f.CopyFiles(nullptr, path(QStringLiteral("tree")), path(QStringLiteral("copy"))));
    EXPECT_EQ("a", ReadFile(path(QStringLiteral("copy/sub/a.txt"))));
    EXPECT_EQ("h", ReadFile(path(QStringLiteral("copy/.hidden"))));
    EXPECT_NE(0, f.CopyFiles(nullptr, path(QStringLiteral("none")), path(QStringLiteral("x"))));
    EXPECT_NE(0, f.CopyFiles(nullptr, path(QStringLiteral("tree")), path(QStringLiteral("tree/sub"))));  // into itself
    EXPECT_NE(0, f.CopyFiles(nullptr, path(QStringLiteral("tree/sub/a.txt")), path(QStringLiteral("tree/sub/a.txt"))));

    EXPECT_EQ(0, f.DeleteFiles(nullptr, path(QStringLiteral("copy/sub/a.txt")), true, false));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("copy/sub/a.txt"))));
    EXPECT_EQ(0, f.DeleteFiles(nullptr, path(QStringLiteral("copy")), true, false));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("copy"))));
    EXPECT_NE(0, f.DeleteFiles(nullptr, path(QStringLiteral("copy")), true, false));

    EXPECT_TRUE(f.WilDeleteFile(path(QStringLiteral("tree/.hidden"))));
    EXPECT_FALSE(f.WilDeleteFile(path(QStringLiteral("tree/.hidden"))));
    EXPECT_FALSE(f.WilDeleteFile(path(QStringLiteral("tree"))));        // a folder is not a file
}

TEST_F(FileTest, DeleteWithUndoGoesToTheTrash)
{
    const QByteArray home = qgetenv("HOME"), data = qgetenv("XDG_DATA_HOME");
    qputenv("HOME", QFile::encodeName(dir.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(path(QStringLiteral("share"))));
    QDir(dir.path()).mkdir(QStringLiteral("share"));
    WriteFile(path(QStringLiteral("gone.txt")), "g");
    EXPECT_EQ(0, f.DeleteFiles(nullptr, path(QStringLiteral("gone.txt")), true, true));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("gone.txt"))));
    EXPECT_EQ("g", ReadFile(path(QStringLiteral("share/Trash/files/gone.txt"))));
    qputenv("HOME", home);
    if (data.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", data);
}

TEST_F(FileTest, TemporaryFolderAndFiles)
{
    const QString temp = f.TempDir();
    EXPECT_FALSE(temp.endsWith(QLatin1Char('/')));
    EXPECT_TRUE(QFileInfo(temp).isDir());
    EXPECT_EQ(temp, f.TempPath());

    const QString a = f.GetTempFile(dir.path(), QStringLiteral("Temp"));
    const QString b = f.TempFile(dir.path(), QStringLiteral("Temp"));
    EXPECT_NE(a, b);
    for (const QString& t : {a, b}) {
        const QFileInfo info(t);
        EXPECT_TRUE(info.isFile()) << t.toStdString();
        EXPECT_EQ(0, info.size());
        EXPECT_EQ(QDir(dir.path()).absolutePath(), info.absolutePath());
        EXPECT_TRUE(info.fileName().startsWith(QLatin1String("Tem")));
        EXPECT_TRUE(info.fileName().endsWith(QLatin1String(".tmp")));
    }
    EXPECT_EQ(QString(), f.GetTempFile(path(QStringLiteral("missing")), QStringLiteral("Temp")));
}

TEST_F(FileTest, AppendFileWritesCp932Lines)
{
    const QString log = path(QStringLiteral("logs/out.txt"));
    EXPECT_TRUE(f.AppendFile(log, QStringLiteral("一行目")));
    EXPECT_TRUE(f.AppendFile(log, QStringLiteral("line 2")));
    EXPECT_EQ(ToAnsi(QStringLiteral("一行目")) + "\r\nline 2\r\n", ReadFile(log));
    EXPECT_FALSE(f.AppendFile(path(QStringLiteral("logs")), QStringLiteral("x")));   // a folder
}

struct FinderGuard {
    explicit FinderGuard(AssociationFinder finder) : previous(SetAssociationFinder(std::move(finder))) {}
    ~FinderGuard() { SetAssociationFinder(previous); }
    AssociationFinder previous;
};

TEST_F(FileTest, GetExePathNamesTheProgramOrSaysWhyNot)
{
    const QString doc = path(QStringLiteral("doc.txt")), odd = path(QStringLiteral("data.xyz"));
    const QString script = path(QStringLiteral("run.sh"));
    WriteFile(doc, "d");
    WriteFile(odd, "o");
    WriteFile(script, "#!/bin/sh\n");
    QFile::setPermissions(script, QFile::permissions(script) | QFileDevice::ExeOwner);
    FinderGuard finder([&](const QString& file) {
        return file.endsWith(QLatin1String(".txt")) ? QStringLiteral("/usr/bin/editor") : QString();
    });

    EXPECT_EQ(QStringLiteral("/usr/bin/editor"), f.GetExePath(doc));
    EXPECT_EQ(QFileInfo(script).absoluteFilePath(), f.GetExePath(script));   // a program is its own

    struct Case { QString file; const char* message; };
    const Case cases[] = {
        {odd, "関連付けされていないファイルです。"},
        {path(QStringLiteral("none.txt")), "ファイルが見つかりません。"},
        {path(QStringLiteral("nofolder/none.txt")), "ファイルのパスが無効です。"},
    };
    for (const Case& c : cases) {
        ScriptedMsgBox boxes;
        boxes.expect(QStringLiteral("GetExePath"), vbOK);
        EXPECT_EQ(QString(), f.GetExePath(c.file));
        ASSERT_EQ(1u, boxes.shown().size());
        EXPECT_EQ(QString::fromUtf8(c.message), boxes.shown()[0].text);
        EXPECT_EQ(vbCritical, boxes.shown()[0].style);
    }
}

struct Started {
    QString program;
    QStringList arguments;
    QString folder;
};

TEST_F(FileTest, FileExecuteOpensThroughTheDesktop)
{
    const QString script = path(QStringLiteral("tool.sh"));
    WriteFile(script, "#!/bin/sh\n");
    QFile::setPermissions(script, QFile::permissions(script) | QFileDevice::ExeOwner);
    WriteFile(path(QStringLiteral("doc.txt")), "d");
    std::vector<Started> started;
    const ProgramStarter previous = SetProgramStarter([&](const QString& p, const QStringList& a, const QString& d) {
        started.push_back({p, a, d});
        return true;
    });

    struct Case { const char* operation; QString file, parameters, folder; bool starts; Started expected; };
    const QString url = QStringLiteral("https://example.com/info");
    const QString opener = QStringLiteral("xdg-open");
    const Case cases[] = {
        {"OPEN", url, QString(), QString(), true, {opener, {url}, QString()}},
        {"", QStringLiteral("doc.txt"), QStringLiteral("-x"), dir.path(), true, {opener, {QStringLiteral("doc.txt")}, dir.path()}},
        {"open", QStringLiteral("tool.sh"), QStringLiteral("-a \"b c\""), dir.path(), true,
         {QFileInfo(script).absoluteFilePath(), {QStringLiteral("-a"), QStringLiteral("b c")}, dir.path()}},
        {"explore", dir.path(), QString(), QString(), true, {opener, {dir.path()}, QString()}},
        {"print", QStringLiteral("doc.txt"), QString(), dir.path(), false, {}},
        {"open", QString(), QString(), QString(), false, {}},
    };
    for (const Case& c : cases) {
        started.clear();
        f.FileExecute(nullptr, QString::fromUtf8(c.operation), c.file, c.parameters, c.folder, 1);
        ASSERT_EQ(c.starts ? 1u : 0u, started.size()) << c.operation << " " << c.file.toStdString();
        if (c.starts) {
            EXPECT_EQ(c.expected.program, started[0].program);
            EXPECT_EQ(c.expected.arguments, started[0].arguments);
            EXPECT_EQ(c.expected.folder, started[0].folder);
        }
    }
    SetProgramStarter(previous);
}

} // namespace
