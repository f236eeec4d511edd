#pragma once
// Keys of one INI file: sections in brackets, lines key=value, in CP932 with CR LF line ends,
// read and written with the Windows profile-string rules (names compared without regard to
// case, enclosing quotes removed on reading, a read value at most 511 bytes).
#include "platform/core/Variant.h"

#include <QString>

class cIni {
public:
    cIni();                                           // the path: program folder, "/Setting.ini"

    // GetIniStr trimmed; when that is empty the default is written to the key and returned.
    QString GetSetIniStr(const QString& section, const QString& key, const QString& defaultValue);
    // The key's value, trimmed and cut before any ";"; "" for a missing file, section or key.
    QString GetIniStr(const QString& section, const QString& key) const;
    // Writes key="value" (the value as CvtStr gives it), creating the file and the section;
    // failures are silent.
    void SetIni(const QString& section, const QString& key, const Variant& value);

    QString Pro_IniPath() const { return path_; }
    void setPro_IniPath(const QString& path) { path_ = path; }

private:
    QString path_;
};

cIni& gIni();
