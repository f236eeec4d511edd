#pragma once
// Program start: one instance per program folder, the paths of the two database files, the
// splash form, compaction, connection and the relinking of the save database, then the main
// window.
#include <QString>

// The working database and the save database, beside the executable and named after it.
extern QString DbPath;
extern QString SaveDbPath;

enum class StartResult {
    Runs,          // the main window is shown; the program lives on in its events
    SecondStart,   // another instance runs in this folder: it was asked to come to the front
    Failed,        // the start ended after its message (the lock, the folder's path, a database or a link failed)
};

// A start holds the instance lock of the program folder for as long as it runs; a second start
// while a live instance holds it (by whatever path the folder is reached) knocks on that
// instance, whose main window then comes to the front, and ends without touching anything. A
// holder that does not answer the knock, a folder that refuses the lock file and a folder whose
// path is too long for the database files each end the start after a message naming the folder.
// A lock file that nobody holds is taken over.
StartResult Main();
// Points the eight linked tables of the save database at the working database, in order,
// stopping at the first that fails.
bool ReLinkMDB();

// Gives up the lock Main took (a test starts the program more than once in one process).
void ReleaseInstanceLock();
