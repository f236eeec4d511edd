#pragma once
// Program start: one instance at a time, the paths of the two database files, the splash form,
// compaction, connection and the relinking of the save database, then the main window.
#include <QString>
#include <memory>

class QLockFile;

// The working database and the save database, beside the executable and named after it.
extern QString DbPath;
extern QString SaveDbPath;

// True when the main window is shown and the program lives on in its events; false when the
// program is to end at once (another instance runs, or a database could not be opened or
// relinked, after its message).
bool Main();
// Points the eight linked tables of the save database at the working database, in order,
// stopping at the first that fails.
bool ReLinkMDB();

// The single-instance lock of a program folder, held while the object lives. A lock left by a
// process that no longer runs is taken over; none when a running instance holds it.
std::unique_ptr<QLockFile> LockInstance(const QString& folder, const QString& exeName);
// Gives up the lock Main took (a test starts the program more than once in one process).
void ReleaseInstanceLock();
