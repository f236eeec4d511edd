#include "foundation/cReg.h"

#include "platform/core/Registry.h"

#include <cmath>

namespace {

// Where the forms run time keeps the per-user program settings.
const QString kVBSettings = QStringLiteral("Software\\VB and VBA Program Settings");

QString vbKey(const QString& application, const QString& section = QString())
{
    QString k = kVBSettings + QLatin1Char('\\') + application;
    if (!section.isEmpty())
        k += QLatin1Char('\\') + section;
    return k;
}

// Trims blanks (spaces only) at both ends.
QString trimBlanks(const QString& s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && s[b] == QLatin1Char(' '))
        ++b;
    while (e > b && s[e - 1] == QLatin1Char(' '))
        --e;
    return s.mid(b, e - b);
}

// Cuts at the first NUL and trims.
QString cutAtNul(const QString& s)
{
    const qsizetype nul = s.indexOf(QChar(0));
    return trimBlanks(nul >= 0 ? s.left(nul) : s);
}

// Everything before the last "\" (empty text when there is none).
QString parentPath(const QString& s)
{
    const qsizetype i = s.lastIndexOf(QLatin1Char('\\'));
    return i < 0 ? QString() : s.left(i);
}

// Everything after the last delimiter; when the text ends with it, the element before it.
QString lastField(const QString& s, QChar delimiter)
{
    QString t = s;
    if (t.endsWith(delimiter))
        t.chop(1);
    const qsizetype i = t.lastIndexOf(delimiter);
    return i < 0 ? t : t.mid(i + 1);
}

bool validName(const QString& s) { return !s.trimmed().isEmpty(); }

}  // namespace

QString cReg::PopToken(QString& text, const QString& delimiters, int count, bool anyCharacter)
{
    if (count >= 0) {
        QString token;
        for (int i = 0; i <= count; ++i)
            token = PopToken(text, delimiters, -1, anyCharacter);
        return token;
    }
    auto find = [&]() -> qsizetype {
        if (!anyCharacter)
            return delimiters.isEmpty() ? -1 : text.indexOf(delimiters);
        qsizetype best = -1;
        for (QChar c : delimiters) {
            const qsizetype p = text.indexOf(c);
            if (p >= 0 && (best < 0 || p < best))
                best = p;
        }
        return best;
    };
    qsizetype pos = find();
    while (pos == 0) {                         // leading delimiters are skipped
        text.remove(0, 1);
        pos = find();
    }
    if (pos < 0) {
        QString token = text;
        text.clear();
        return token;
    }
    QString token = text.left(pos);
    text = text.mid(pos + 1);
    return token;
}

cReg::RegPath cReg::ParseRegPath(const QString& path)
{
    static const char* const roots[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                                        "HKEY_USERS", "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG",
                                        "HKEY_DYN_DATA"};
    QString text = trimBlanks(path);
    if (text.startsWith(QLatin1Char('\\')))
        text.remove(0, 1);
    const QString rootName = PopToken(text, QStringLiteral("\\"), -1, true);
    RegPath r;
    r.root = -1;
    for (int i = 0; i < 7; ++i)
        if (rootName == QLatin1String(roots[i]))
            r.root = i;
    if (r.root < 0) {
        r.root = 1;
        text = rootName + QLatin1Char('\\') + text;
    }
    r.keyPath = parentPath(text);
    r.valueName = lastField(text, QLatin1Char('\\'));
    if (r.valueName == QStringLiteral("(標準)"))
        r.valueName.clear();
    return r;
}

QString cReg::GetRegStr(const QString& path) const
{
    const RegPath p = ParseRegPath(path);
    const auto v = reg::QueryValue(reg::Root(p.root), p.keyPath, p.valueName);
    if (!v)
        return QString();
    if (v->type == reg::kRegSz)
        return cutAtNul(v->text);
    if (v->type == reg::kRegDword)
        return cutAtNul(QString::number(int32_t(v->number)));
    return QString();
}

void cReg::SetReg(const QString& path, const QString& value) const
{
    const RegPath p = ParseRegPath(path);
    if (reg::CreateKey(reg::Root(p.root), p.keyPath))
        reg::SetValue(reg::Root(p.root), p.keyPath, p.valueName, reg::Value::String(value));
}

void cReg::SetRegDWORD(const QString& path, const QString& value) const
{
    const RegPath p = ParseRegPath(path);
    if (!reg::KeyExists(reg::Root(p.root), p.keyPath))
        return;
    bool ok = false;
    const double d = value.trimmed().toDouble(&ok);
    if (!ok || d < -2147483648.0 || d > 2147483647.0)
        return;                                  // not a 32-bit number: nothing is written
    reg::SetValue(reg::Root(p.root), p.keyPath, p.valueName, reg::Value::Dword(uint32_t(int32_t(std::nearbyint(d)))));
}

bool cReg::DeleteKey(const QString& path) const
{
    const RegPath p = ParseRegPath(path);
    // The last element names the key itself.
    const QString key = p.keyPath.isEmpty() ? p.valueName : p.keyPath + QLatin1Char('\\') + p.valueName;
    return reg::DeleteKey(reg::Root(p.root), key);
}

int32_t cReg::EnumKey(const QString& path, std::vector<QString>& names) const
{
    const RegPath p = ParseRegPath(path);
    const QString key = p.keyPath.isEmpty() ? p.valueName : p.keyPath + QLatin1Char('\\') + p.valueName;
    if (!reg::KeyExists(reg::Root(p.root), key))
        return 0;
    std::vector<QString> found;
    for (int i = 0;; ++i) {
        const auto name = reg::EnumKey(reg::Root(p.root), key, i);
        if (!name)
            break;
        const qsizetype nul = name->indexOf(QChar(0));
        found.push_back(nul >= 0 ? name->left(nul) : *name);
    }
    if (found.empty())
        return 0;
    names = std::move(found);
    return int32_t(names.size());
}

QString cReg::GetVBLocalReg(const QString& application, const QString& section, const QString& key) const
{
    if (!validName(application) || !validName(section) || !validName(key))
        return QString();
    const auto v = reg::QueryValue(reg::Root::CurrentUser, vbKey(application, section), key);
    return v && v->type == reg::kRegSz ? v->text : QString();
}

bool cReg::GetVBLocalRegAll(const QString& application, const QString& section,
                            std::vector<std::pair<QString, QString>>& settings) const
{
    if (!validName(application) || !validName(section))
        return false;
    settings.clear();
    if (const auto values = reg::EnumValues(reg::Root::CurrentUser, vbKey(application, section)))
        for (const auto& [name, v] : *values)
            if (v.type == reg::kRegSz && !name.isEmpty())
                settings.emplace_back(name, v.text);
    return true;
}

bool cReg::SetVBLocalReg(const QString& application, const QString& section, const QString& key,
                         const QString& value) const
{
    if (!validName(application) || !validName(section) || !validName(key))
        return false;
    const QString k = vbKey(application, section);
    return reg::CreateKey(reg::Root::CurrentUser, k) &&
           reg::SetValue(reg::Root::CurrentUser, k, key, reg::Value::String(value));
}

bool cReg::DeleteVBLocalRegAll(const QString& application) const
{
    return validName(application) && reg::DeleteTree(reg::Root::CurrentUser, vbKey(application));
}

bool cReg::DeleteVBLocalRegSection(const QString& application, const QString& section) const
{
    return validName(application) && validName(section) &&
           reg::DeleteTree(reg::Root::CurrentUser, vbKey(application, section));
}

bool cReg::DeleteVBLocalRegKey(const QString& application, const QString& section, const QString& key) const
{
    return validName(application) && validName(section) && validName(key) &&
           reg::DeleteValue(reg::Root::CurrentUser, vbKey(application, section), key);
}
