#pragma once
// What the benchmarks do to database files outside the program: build one from a schema script,
// and compare the three pattern tables of two files row by row.
#include <QString>

// A fresh database at path from the SQL script (an existing file is replaced), with pages of
// pageSize bytes when it is given (else as the script says). Returns the empty text, or what failed.
QString BuildDatabase(const QString& path, const QString& script, int pageSize = 0);

// The empty text when パターン, パターン母材 and パターン部材 of both files hold the same rows in the
// same order (every column, doubles to the last bit); otherwise where they first differ.
QString ComparePatternTables(const QString& path, const QString& otherPath);
