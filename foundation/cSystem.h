#pragma once
// Facts about the machine: the Windows version classification (on Linux always "other"), the
// computer's and the user's names, a file's version, the network adapter's address and the
// current volume's serial number. Stateless.
#include <QByteArray>
#include <QString>
#include <cstdint>

// Windows version codes.
enum WindowsVersion { kWin95 = 1, kWin98 = 2, kWinMe = 3, kWinNT351 = 4, kWinNT40 = 5, kWin2K = 6,
                      kWinXP = 7, kWinOther = 99 };

class cSystem {
public:
    // The code of the system; info receives "PlatformID= p MajorVersion= a MinorVersion= b
    // BuildNumber= c" (on Linux: platform 0 and the kernel's version numbers).
    int32_t WindowsType(QString& info) const;
    int32_t WindowsType() const;
    bool IsWindows9x() const;
    bool IsWindowsNT() const;
    bool IsWindows95() const { return WindowsType() == kWin95; }
    bool IsWindows98() const { return WindowsType() == kWin98; }
    bool IsWindowsMe() const { return WindowsType() == kWinMe; }
    bool IsWindowsNT351() const { return WindowsType() == kWinNT351; }
    bool IsWindowsNT40() const { return WindowsType() == kWinNT40; }
    bool IsWindows2K() const { return WindowsType() == kWin2K; }
    bool IsWindowsXP() const { return WindowsType() == kWinXP; }
    QString ComputerName() const;                 // the host name, "" when it cannot be had
    QString UserName() const;
    // major "." minor "." revision (two digits) of the version record the file carries; the
    // program's executables carry the build's version. "" for a file without one.
    QString GetFileVersion(const QString& path) const;
    // The first network adapter's address as twelve hexadecimal digits; twelve zeros without one.
    QString GetMACAddress(bool& success) const;
    // The identifier of the file system holding the current folder; 0 when it cannot be had.
    int32_t GetFddUniqueNo() const;
};

// The classification table: platform identifier 1 with 4.0, 4.10, 4.90 and 2 with 3.51, 4.0,
// 5.0, 5.1 give 1 to 7; everything else 99.
int32_t WindowsVersionCode(int32_t platformId, int32_t major, int32_t minor);
// The version text of a file version's two 32-bit halves: HiWord(ms).LoWord(ms).LoWord(ls) with
// the last written with at least two digits.
QString FileVersionText(uint32_t versionMS, uint32_t versionLS);
// Six address bytes as twelve uppercase hexadecimal digits.
QString AdapterAddressText(const QByteArray& address);
// The version record carried by a program's executable: the marker, then "a.b.c.d" and a NUL.
QByteArray FileVersionMarker();
