#pragma once
// File and path utilities.
#include <QString>

class cFile {
public:
    // Joins a folder and a file name with exactly one "/" (either alone when the other is empty).
    QString MakeFullPath(const QString& folder, const QString& file) const;
};
