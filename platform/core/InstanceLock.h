#pragma once
// One running instance per lock file. The holder keeps the system's advisory lock on the file
// (it ends with the process, however the process ends) and listens on a local socket named
// after the file; a later start that finds the file locked knocks there, and the holder hears
// of it. A file that nobody holds, whatever it contains (left by a crash or a power cut), is
// taken over.
#include <QObject>
#include <QString>

class QLocalServer;

class InstanceLock : public QObject {
    Q_OBJECT
public:
    enum Result { Acquired, HeldElsewhere, Failed };

    explicit InstanceLock(const QString& path, QObject* parent = nullptr);
    ~InstanceLock() override;   // gives the lock up and removes the file

    // Takes the lock and listens. HeldElsewhere: a live process holds it. Failed: the file
    // cannot be created or written; systemError() tells why (an errno value).
    Result acquire();
    int systemError() const { return error_; }
    // Whether an InstanceLock of this process holds the file.
    static bool isHeldHere(const QString& path);

signals:
    void knocked();   // a later start knocked on this holder

private:
    QString path_;
    int fd_ = -1;
    int error_ = 0;
    QLocalServer* server_ = nullptr;
};

// Knocks on the holder of the lock file; false when no holder listens.
bool KnockOnHolder(const QString& path);
