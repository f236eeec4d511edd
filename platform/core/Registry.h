#pragma once
// The registry stand-in: keys and values of each root kept in a small text file in the format
// of a registry export (".reg"). HKEY_LOCAL_MACHINE lives beside the executable, every other
// root in the user's configuration folder. Key and value names compare without regard to case,
// as the Windows registry does; each operation reads the file and writes it back when changed.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace reg {

enum class Root { ClassesRoot = 0, CurrentUser = 1, LocalMachine = 2, Users = 3, PerformanceData = 4,
                  CurrentConfig = 5, DynData = 6 };
QString RootName(Root root);                                 // "HKEY_LOCAL_MACHINE"

enum ValueType { kRegSz = 1, kRegBinary = 3, kRegDword = 4 };

struct Value {
    int type = kRegSz;
    QString text;          // kRegSz
    uint32_t number = 0;   // kRegDword
    QByteArray binary;     // kRegBinary
    static Value String(const QString& s) { Value v; v.text = s; return v; }
    static Value Dword(uint32_t n) { Value v; v.type = kRegDword; v.number = n; return v; }
};

// A key path is a list of key names separated by "\"; the empty path is the root itself.
bool KeyExists(Root root, const QString& keyPath);
bool CreateKey(Root root, const QString& keyPath);           // creates every missing key of the path
// The value name "" is the key's default value. Empty when the key or the value is missing.
std::optional<Value> QueryValue(Root root, const QString& keyPath, const QString& name);
bool SetValue(Root root, const QString& keyPath, const QString& name, const Value& value); // key must exist
bool DeleteValue(Root root, const QString& keyPath, const QString& name);
bool DeleteKey(Root root, const QString& keyPath);           // refused for the root and for a key with sub-keys
bool DeleteTree(Root root, const QString& keyPath);          // the key and everything below it
// The name of the index-th direct sub-key (in stored order), empty past the last one.
std::optional<QString> EnumKey(Root root, const QString& keyPath, int index);
// The names and values of a key, in stored order (empty when the key is missing).
std::optional<std::vector<std::pair<QString, Value>>> EnumValues(Root root, const QString& keyPath);

// Where a root's file lives. Tests and tools point roots elsewhere; an empty path restores the
// default (HKEY_LOCAL_MACHINE.reg in the program folder, <ROOT>.reg in the configuration folder).
void SetRootFile(Root root, const QString& path);
QString RootFile(Root root);

}  // namespace reg
