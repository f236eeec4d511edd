#pragma once
// Registry values addressed by one path text: root name, keys and value name separated by "\"
// ("HKEY_LOCAL_MACHINE\SOFTWARE\Norvex\Tavo\Info\URL"), and the per-user program settings
// (application, section, key). Stateless.
#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

class cReg {
public:
    // The per-user program-settings store.
    QString GetVBLocalReg(const QString& application, const QString& section, const QString& key) const;
    bool GetVBLocalRegAll(const QString& application, const QString& section,
                          std::vector<std::pair<QString, QString>>& settings) const;
    bool SetVBLocalReg(const QString& application, const QString& section, const QString& key,
                       const QString& value) const;
    bool DeleteVBLocalRegAll(const QString& application) const;
    bool DeleteVBLocalRegSection(const QString& application, const QString& section) const;
    bool DeleteVBLocalRegKey(const QString& application, const QString& section, const QString& key) const;

    // Registry values by path. Reading never fails (empty text); writing ignores failures.
    QString GetRegStr(const QString& path) const;
    void SetReg(const QString& path, const QString& value) const;
    void SetRegDWORD(const QString& path, const QString& value) const;
    bool DeleteKey(const QString& path) const;
    int32_t EnumKey(const QString& path, std::vector<QString>& names) const;

    // A parsed path: root code (0..6), key path and value name ("" for the default value).
    struct RegPath {
        int root = 1;
        QString keyPath;
        QString valueName;
    };
    static RegPath ParseRegPath(const QString& path);
    // Takes the next token off text (count < 0), or the count+1-th one (count >= 0).
    static QString PopToken(QString& text, const QString& delimiters, int count, bool anyCharacter);
};
