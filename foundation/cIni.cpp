#include "foundation/cIni.h"

#include "foundation/Globals.h"
#include "foundation/cBase.h"
#include "platform/core/AnsiText.h"
#include "platform/core/AppInfo.h"

#include <QFile>
#include <QList>
#include <QSaveFile>

namespace {

constexpr int kValueBytes = 511;          // a 512-byte buffer, one byte for the terminating NUL

QList<QByteArray> ReadLines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> lines = f.readAll().split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();               // after the last line end
    for (QByteArray& line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

// Whether the line is a "[name]" section header, and its name.
bool IsSectionLine(const QString& trimmedLine, QString& name)
{
    if (!trimmedLine.startsWith(QLatin1Char('[')))
        return false;
    const qsizetype end = trimmedLine.indexOf(QLatin1Char(']'));
    name = trimmedLine.mid(1, end < 0 ? -1 : end - 1).trimmed();
    return true;
}

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Where a key stands: the line of its section header, of the key itself, and the last line
// of the section that is not blank. -1 for what is missing.
struct KeyPlace {
    int section = -1, key = -1, lastInSection = -1;
};

KeyPlace FindKey(const QList<QByteArray>& lines, const QString& section, const QString& key, QString* value)
{
    KeyPlace place;
    bool inSection = false;
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = FromAnsi(lines[i]).trimmed();
        if (QString name; IsSectionLine(line, name)) {
            if (place.section >= 0 && inSection)
                break;                    // the first matching section ends here
            inSection = SameName(name, section);
            if (inSection) {
                place.section = i;
                place.lastInSection = i;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (!line.isEmpty())
            place.lastInSection = i;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0 || !SameName(line.left(eq).trimmed(), key))
            continue;
        place.key = i;
        if (value)
            *value = line.mid(eq + 1).trimmed();
        break;
    }
    return place;
}

} // namespace

cIni::cIni() : path_(AppPath() + QStringLiteral("/Setting.ini")) {}

cIni& gIni()
{
    static cIni ini;
    return ini;
}

QString cIni::GetSetIniStr(const QString& section, const QString& key, const QString& defaultValue)
{
    const QString value = GetIniStr(section, key).trimmed();
    if (!value.isEmpty())
        return value;
    SetIni(section, key, defaultValue);
    return defaultValue;
}

QString cIni::GetIniStr(const QString& section, const QString& key) const
{
    if (section.trimmed().isEmpty() || key.trimmed().isEmpty())
        return QString();
    QString value;
    if (FindKey(ReadLines(path_), section.trimmed(), key.trimmed(), &value).key < 0)
        return QString();
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    value = gBase().PickString2(value, 1, kValueBytes).trimmed();
    const qsizetype comment = value.indexOf(QLatin1Char(';'));
    return comment < 0 ? value : value.left(comment).trimmed();
}

void cIni::SetIni(const QString& section, const QString& key, const Variant& value)
{
    const QString sec = section.trimmed(), k = key.trimmed();
    if (sec.isEmpty() || k.isEmpty())
        return;
    QList<QByteArray> lines = ReadLines(path_);
    const QByteArray entry = ToAnsi(k + QStringLiteral("=\"") + gBase().CvtStr(value) + QLatin1Char('"'));
    const KeyPlace place = FindKey(lines, sec, k, nullptr);
    if (place.key >= 0) {
        lines[place.key] = entry;
    } else if (place.section >= 0) {
        lines.insert(place.lastInSection + 1, entry);
    } else {
        lines.append(ToAnsi(QLatin1Char('[') + sec + QLatin1Char(']')));
        lines.append(entry);
    }
    QSaveFile f(path_);
    if (!f.open(QIODevice::WriteOnly))
        return;
    for (const QByteArray& line : lines)
        f.write(line + QByteArrayLiteral("\r\n"));
    f.commit();
}
