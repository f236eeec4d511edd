// System facts: the Windows version classification (always "other" here), the version record
// of a program file, the adapter address and the names of the machine and the user.
#include "foundation/cSystem.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const cSystem sys;

TEST(SystemTest, VersionClassificationTable)
{
    struct Case { int32_t id, major, minor, code; };
    const Case cases[] = {
        {1, 4, 0, 1},   {1, 4, 10, 2}, {1, 4, 90, 3}, {2, 3, 51, 4}, {2, 4, 0, 5}, {2, 5, 0, 6},
        {2, 5, 1, 7},   {2, 6, 1, 99}, {1, 4, 20, 99}, {2, 5, 2, 99}, {3, 4, 0, 99}, {0, 6, 1, 99},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.code, WindowsVersionCode(c.id, c.major, c.minor)) << c.id << " " << c.major << "." << c.minor;
}

TEST(SystemTest, LinuxIsOtherSoStartUpCompactsAndPrintingTakesThe9xPair)
{
    QString info;
    EXPECT_EQ(99, sys.WindowsType(info));
    const QRegularExpression format(QStringLiteral("^PlatformID= 0 MajorVersion= \\d+ MinorVersion= \\d+ BuildNumber= \\d+$"));
    EXPECT_TRUE(format.match(info).hasMatch()) << info.toStdString();
    EXPECT_FALSE(sys.IsWindowsNT());
    EXPECT_FALSE(sys.IsWindows9x());
    EXPECT_FALSE(sys.IsWindows95());
    EXPECT_FALSE(sys.IsWindows98());
    EXPECT_FALSE(sys.IsWindowsMe() || sys.IsWindowsNT351() || sys.IsWindowsNT40() || sys.IsWindows2K() || sys.IsWindowsXP());
}

TEST(SystemTest, FileVersionText)
{
    EXPECT_EQ(QStringLiteral("2.5.02"), FileVersionText(2u << 16 | 5, 0u << 16 | 2));
    EXPECT_EQ(QStringLiteral("10.0.07"), FileVersionText(10u << 16 | 0, 3u << 16 | 7));
    EXPECT_EQ(QStringLiteral("1.2.123"), FileVersionText(1u << 16 | 2, 9u << 16 | 123));
}

TEST(SystemTest, GetFileVersionReadsTheVersionRecord)
{
    // The running executable carries the build's version, 2.0.0.
    EXPECT_EQ(QStringLiteral("2.0.00"), sys.GetFileVersion(QStringLiteral("/proc/self/exe")));

    QTemporaryDir dir;
    struct Case { QByteArray contents; const char* expected; };
    const QByteArray marker = FileVersionMarker();
    const Case cases[] = {
        {"header" + marker + "2.5.0.2" + QByteArray(1, '\0') + "tail", "2.5.02"},
        {marker + "10.0.3.7" + QByteArray(1, '\0'), "10.0.07"},
        {marker + QByteArray(1, '\0') + marker + "x.1" + QByteArray(1, '\0') + marker + "1.2.0.3" + QByteArray(1, '\0'), "1.2.03"},
        {marker + "1.2.0.70000" + QByteArray(1, '\0'), ""},
        {"plain text without a version", ""},
        {QByteArray(), ""},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString path = dir.filePath(QString::number(n++));
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(c.contents);
        out.close();
        EXPECT_EQ(QString::fromUtf8(c.expected), sys.GetFileVersion(path)) << c.contents.toStdString();
    }
    EXPECT_EQ(QString(), sys.GetFileVersion(dir.filePath(QStringLiteral("missing"))));
}

TEST(SystemTest, AdapterAddressAndNames)
{
    EXPECT_EQ(QStringLiteral("00110AFF0102"), AdapterAddressText(QByteArray("\x00\x11\x0a\xff\x01\x02", 6)));
    bool success = false;
    const QString mac = sys.GetMACAddress(success);
    EXPECT_TRUE(success);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-F]{12}$")).match(mac).hasMatch()) << mac.toStdString();

    EXPECT_EQ(QSysInfo::machineHostName(), sys.ComputerName());
    EXPECT_FALSE(sys.UserName().isEmpty());
}

TEST(SystemTest, VolumeNumberBelongsToTheCurrentFolder)
{
    // Two folders of one file system share the number; another file system has its own.
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    const QString start = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const int32_t here = sys.GetFddUniqueNo();
    QDir::setCurrent(dir.filePath(QStringLiteral("sub")));
    const int32_t below = sys.GetFddUniqueNo();
    QDir::setCurrent(QStringLiteral("/proc"));
    const int32_t proc = sys.GetFddUniqueNo();
    QDir::setCurrent(start);
    EXPECT_EQ(here, below);
    EXPECT_NE(here, proc);
}

} // namespace
