#include "foundation/cSystem.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSysInfo>

#include <cstdlib>
#include <pwd.h>
#include <sys/statvfs.h>
#include <unistd.h>

#ifndef PANELO2_VERSION_MAJOR
#define PANELO2_VERSION_MAJOR 0
#define PANELO2_VERSION_MINOR 0
#define PANELO2_VERSION_PATCH 0
#endif
#define PANELO2_STR2(x) #x
#define PANELO2_STR(x) PANELO2_STR2(x)

namespace {

// The executable's version record (as a Windows file's version resource: major.minor.0.revision).
[[gnu::used]] const char kVersionRecord[] =
    "\x01Panelo2-FileVersion\x01" PANELO2_STR(PANELO2_VERSION_MAJOR) "." PANELO2_STR(PANELO2_VERSION_MINOR)
    ".0." PANELO2_STR(PANELO2_VERSION_PATCH);

int32_t LoWord(uint32_t v) { return int16_t(v & 0xFFFF); }
int32_t HiWord(uint32_t v) { return int16_t(v >> 16); }

QString TwoDigits(int32_t v)
{
    const QString digits = QString::number(std::abs(v)).rightJustified(2, QLatin1Char('0'));
    return v < 0 ? QLatin1Char('-') + digits : digits;
}

} // namespace

QByteArray FileVersionMarker()
{
    return QByteArray(kVersionRecord, int(sizeof kVersionRecord) - 1)
        .left(int(sizeof "\x01Panelo2-FileVersion\x01") - 1);
}

int32_t WindowsVersionCode(int32_t platformId, int32_t major, int32_t minor)
{
    static constexpr struct {
        int32_t id, major, minor, code;
    } kTable[] = {{1, 4, 0, kWin95},   {1, 4, 10, kWin98}, {1, 4, 90, kWinMe}, {2, 3, 51, kWinNT351},
                  {2, 4, 0, kWinNT40}, {2, 5, 0, kWin2K},  {2, 5, 1, kWinXP}};
    for (const auto& row : kTable) {
        if (row.id == platformId && row.major == major && row.minor == minor)
            return row.code;
    }
    return kWinOther;
}

QString FileVersionText(uint32_t versionMS, uint32_t versionLS)
{
    return QString::number(HiWord(versionMS)) + QLatin1Char('.') + QString::number(LoWord(versionMS))
        + QLatin1Char('.') + TwoDigits(LoWord(versionLS));
}

QString AdapterAddressText(const QByteArray& address)
{
    return QString::fromLatin1(address.left(6).toHex()).toUpper();
}

int32_t cSystem::WindowsType(QString& info) const
{
    // Linux has no Windows platform identifier: 0, with the kernel's version numbers.
    const QStringList kernel = QSysInfo::kernelVersion().split(QRegularExpression(QStringLiteral("[^0-9]+")));
    const int32_t platformId = 0;
    const int32_t major = kernel.value(0).toInt(), minor = kernel.value(1).toInt(), build = kernel.value(2).toInt();
    info = QStringLiteral("PlatformID= %1 MajorVersion= %2 MinorVersion= %3 BuildNumber= %4")
               .arg(platformId).arg(major).arg(minor).arg(build);
    return WindowsVersionCode(platformId, major, minor);
}

int32_t cSystem::WindowsType() const
{
    QString info;
    return WindowsType(info);
}

bool cSystem::IsWindows9x() const
{
    const int32_t code = WindowsType();
    return code >= kWin95 && code <= kWinMe;
}

bool cSystem::IsWindowsNT() const
{
    const int32_t code = WindowsType();
    return code >= kWinNT351 && code <= kWinXP;
}

QString cSystem::ComputerName() const
{
    return QSysInfo::machineHostName().section(QChar(0), 0, 0).trimmed();
}

QString cSystem::UserName() const
{
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name).trimmed();
    return qEnvironmentVariable("USER").trimmed();
}

QString cSystem::GetFileVersion(const QString& path) const
{
    QFile f(path);
    if (path.isEmpty() || !f.open(QIODevice::ReadOnly))
        return QString();
    // Mapped rather than read: an executable with its debugging information is large.
    const qint64 size = f.size();
    const uchar* mapped = size > 0 ? f.map(0, size) : nullptr;
    const QByteArray data = mapped ? QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), qsizetype(size))
                                   : f.readAll();
    const QByteArray marker = FileVersionMarker();
    static const QRegularExpression kVersion(QStringLiteral("^(\\d{1,5})\\.(\\d{1,5})\\.(\\d{1,5})\\.(\\d{1,5})$"));
    for (qsizetype p = data.indexOf(marker); p >= 0; p = data.indexOf(marker, p + 1)) {
        const qsizetype from = p + marker.size();
        const qsizetype nul = data.indexOf('\0', from);
        if (nul < 0 || nul - from > 23)
            continue;
        const QRegularExpressionMatch m = kVersion.match(QString::fromLatin1(data.mid(from, nul - from)));
        if (!m.hasMatch())
            continue;
        uint32_t v[4];
        bool inRange = true;
        for (int i = 0; i < 4; ++i) {
            v[i] = m.captured(i + 1).toUInt();
            inRange = inRange && v[i] <= 0xFFFF;
        }
        if (inRange)
            return FileVersionText(v[0] << 16 | v[1], v[2] << 16 | v[3]);
    }
    return QString();
}

QString cSystem::GetMACAddress(bool& success) const
{
    success = true;
    const QDir net(QStringLiteral("/sys/class/net"));
    for (const QString& name : net.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        QFile f(net.filePath(name + QStringLiteral("/address")));
        if (name == QLatin1String("lo") || !f.open(QIODevice::ReadOnly))
            continue;
        const QByteArray address = QByteArray::fromHex(f.readAll().trimmed().replace(':', ""));
        if (address.size() == 6 && address != QByteArray(6, '\0'))
            return AdapterAddressText(address);
    }
    return AdapterAddressText(QByteArray(6, '\0'));
}

int32_t cSystem::GetFddUniqueNo() const
{
    struct statvfs st {};
    if (::statvfs(".", &st) != 0)
        return 0;
    return int32_t(uint32_t(st.f_fsid));
}
