#include "platform/core/Registry.h"

#include "platform/core/AppInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>
#include <map>
#include <memory>

namespace reg {
namespace {

struct Key {
    QString name;
    std::vector<std::pair<QString, Value>> values;
    std::vector<std::unique_ptr<Key>> children;

    Key* child(const QString& n) const
    {
        for (const auto& c : children)
            if (c->name.compare(n, Qt::CaseInsensitive) == 0)
                return c.get();
        return nullptr;
    }
    Value* value(const QString& n)
    {
        for (auto& v : values)
            if (v.first.compare(n, Qt::CaseInsensitive) == 0)
                return &v.second;
        return nullptr;
    }
};

const char* const kRootNames[] = {"HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE",
                                  "HKEY_USERS",            "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG",
                                  "HKEY_DYN_DATA"};

std::map<int, QString>& fileOverrides()
{
    static std::map<int, QString> m;
    return m;
}

QStringList splitPath(const QString& path)
{
    return path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

// --- the text form ---------------------------------------------------------------------------

QString quoted(const QString& s)
{
    QString out = QStringLiteral("\"");
    for (QChar c : s) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('"'))
            out += QLatin1Char('\\');
        if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else if (c == QChar(0))
            out += QStringLiteral("\\0");
        else
            out += c;
    }
    return out + QLatin1Char('"');
}

// Reads a quoted text starting at s[i] (the opening quote); i ends after the closing quote.
bool readQuoted(const QString& s, qsizetype& i, QString* out)
{
    if (i >= s.size() || s[i] != QLatin1Char('"'))
        return false;
    out->clear();
    for (++i; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('\\') && i + 1 < s.size()) {
            const QChar c = s[++i];
            *out += c == QLatin1Char('n') ? QChar(QLatin1Char('\n'))
                    : c == QLatin1Char('r') ? QChar(QLatin1Char('\r'))
                    : c == QLatin1Char('0') ? QChar(0)
                                            : c;
        } else if (s[i] == QLatin1Char('"')) {
            ++i;
            return true;
        } else {
            *out += s[i];
        }
    }
    return false;
}

bool parseValue(const QString& data, Value* v)
{
    if (data.startsWith(QLatin1Char('"'))) {
        qsizetype i = 0;
        v->type = kRegSz;
        return readQuoted(data, i, &v->text);
    }
    if (data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        bool ok = false;
        v->type = kRegDword;
        v->number = data.mid(6).trimmed().toUInt(&ok, 16);
        return ok;
    }
    if (data.startsWith(QLatin1String("hex:"), Qt::CaseInsensitive)) {
        v->type = kRegBinary;
        v->binary.clear();
        for (const QString& b : data.mid(4).split(QLatin1Char(','), Qt::SkipEmptyParts))
            v->binary.append(char(b.trimmed().toUInt(nullptr, 16)));
        return true;
    }
    return false;
}

QString valueText(const Value& v)
{
    switch (v.type) {
    case kRegDword:
        return QStringLiteral("dword:") + QStringLiteral("%1").arg(v.number, 8, 16, QLatin1Char('0'));
    case kRegBinary: {
        QStringList bytes;
        for (char c : v.binary)
            bytes << QStringLiteral("%1").arg(uint(uchar(c)), 2, 16, QLatin1Char('0'));
        return QStringLiteral("hex:") + bytes.join(QLatin1Char(','));
    }
    default:
        return quoted(v.text);
    }
}

Key* walk(Key* key, const QStringList& parts, bool create)
{
    for (const QString& p : parts) {
        Key* next = key->child(p);
        if (!next) {
            if (!create)
                return nullptr;
            key->children.push_back(std::make_unique<Key>());
            next = key->children.back().get();
            next->name = p;
        }
        key = next;
    }
    return key;
}

std::unique_ptr<Key> load(Root root)
{
    auto top = std::make_unique<Key>();
    QFile f(RootFile(root));
    if (!f.open(QIODevice::ReadOnly))
        return top;
    Key* current = nullptr;
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            QStringList parts = splitPath(line.mid(1, line.size() - 2));
            if (!parts.isEmpty())
                parts.removeFirst();                   // the root's own name
            current = walk(top.get(), parts, true);
            continue;
        }
        if (!current || line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        QString name;
        qsizetype i = 0;
        if (line.startsWith(QLatin1Char('@')))
            i = 1;
        else if (!readQuoted(line, i, &name))
            continue;
        if (i >= line.size() || line[i] != QLatin1Char('='))
            continue;
        Value v;
        if (parseValue(line.mid(i + 1), &v)) {
            if (Value* old = current->value(name))
                *old = v;
            else
                current->values.emplace_back(name, v);
        }
    }
    return top;
}

void writeKey(const Key& key, const QString& path, QString& out)
{
    out += QLatin1Char('[') + path + QStringLiteral("]\r\n");
    for (const auto& [name, v] : key.values)
        out += (name.isEmpty() ? QStringLiteral("@") : quoted(name)) + QLatin1Char('=') + valueText(v) + QStringLiteral("\r\n");
    out += QStringLiteral("\r\n");
    for (const auto& c : key.children)
        writeKey(*c, path + QLatin1Char('\\') + c->name, out);
}

bool save(Root root, const Key& top)
{
    const QString path = RootFile(root);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QString out = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n");
    for (const auto& c : top.children)
        writeKey(*c, RootName(root) + QLatin1Char('\\') + c->name, out);
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(out.toUtf8());
    return f.commit();
}

}  // namespace

QString RootName(Root root) { return QString::fromLatin1(kRootNames[int(root)]); }

void SetRootFile(Root root, const QString& path)
{
    if (path.isEmpty())
        fileOverrides().erase(int(root));
    else
        fileOverrides()[int(root)] = path;
}

QString RootFile(Root root)
{
    if (auto it = fileOverrides().find(int(root)); it != fileOverrides().end())
        return it->second;
    const QString file = RootName(root) + QStringLiteral(".reg");
    if (root == Root::LocalMachine)
        return AppPath() + QLatin1Char('/') + file;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') +
           AppExeName() + QLatin1Char('/') + file;
}

bool KeyExists(Root root, const QString& keyPath)
{
    auto top = load(root);
    return walk(top.get(), splitPath(keyPath), false) != nullptr;
}

bool CreateKey(Root root, const QString& keyPath)
{
    auto top = load(root);
    const QStringList parts = splitPath(keyPath);
    if (walk(top.get(), parts, false))
        return true;
    walk(top.get(), parts, true);
    return save(root, *top);
}

std::optional<Value> QueryValue(Root root, const QString& keyPath, const QString& name)
{
    auto top = load(root);
    Key* key = walk(top.get(), splitPath(keyPath), false);
    if (!key)
        return std::nullopt;
    if (Value* v = key->value(name))
        return *v;
    return std::nullopt;
}

bool SetValue(Root root, const QString& keyPath, const QString& name, const Value& value)
{
    auto top = load(root);
    Key* key = walk(top.get(), splitPath(keyPath), false);
    if (!key || key == top.get())
        return false;
    if (Value* v = key->value(name))
        *v = value;
    else
        key->values.emplace_back(name, value);
    return save(root, *top);
}

bool DeleteValue(Root root, const QString& keyPath, const QString& name)
{
    auto top = load(root);
    Key* key = walk(top.get(), splitPath(keyPath), false);
    if (!key)
        return false;
    for (auto it = key->values.begin(); it != key->values.end(); ++it)
        if (it->first.compare(name, Qt::CaseInsensitive) == 0) {
            key->values.erase(it);
            return save(root, *top);
        }
    return false;
}

namespace {
bool removeKey(Root root, const QString& keyPath, bool tree)
{
    auto top = load(root);
    QStringList parts = splitPath(keyPath);
    if (parts.isEmpty())
        return false;
    const QString last = parts.takeLast();
    Key* parent = walk(top.get(), parts, false);
    if (!parent)
        return false;
    for (auto it = parent->children.begin(); it != parent->children.end(); ++it)
        if ((*it)->name.compare(last, Qt::CaseInsensitive) == 0) {
            if (!tree && !(*it)->children.empty())
                return false;
            parent->children.erase(it);
            return save(root, *top);
        }
    return false;
}
}  // namespace

bool DeleteKey(Root root, const QString& keyPath) { return removeKey(root, keyPath, false); }
bool DeleteTree(Root root, const QString& keyPath) { return removeKey(root, keyPath, true); }

std::optional<QString> EnumKey(Root root, const QString& keyPath, int index)
{
    auto top = load(root);
    Key* key = walk(top.get(), splitPath(keyPath), false);
    if (!key || index < 0 || index >= int(key->children.size()))
        return std::nullopt;
    return key->children[size_t(index)]->name;
}

std::optional<std::vector<std::pair<QString, Value>>> EnumValues(Root root, const QString& keyPath)
{
    auto top = load(root);
    Key* key = walk(top.get(), splitPath(keyPath), false);
    if (!key)
        return std::nullopt;
    return key->values;
}

}  // namespace reg
