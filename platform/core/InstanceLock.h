#pragma once
// One running instance per lock file. The holder keeps the system's advisory lock on the file
// (it ends with the process, however the process ends) and listens on a local socket named
// after the file's identity (device and inode), so every path that reaches the file (a bind
// mount, a link) finds the same holder. A later start that finds the file locked knocks there;
// the holder answers from its event loop and hears of it. A file that nobody holds, whatever it
// contains (left by a crash or a power cut), is taken over.
#include <QObject>
#include <QString>

class QLocalServer;

class InstanceLock : public QObject {
    Q_OBJECT
public:
    enum Result { Acquired, HeldElsewhere, Failed };

    explicit InstanceLock(const QString& path, QObject* parent = nullptr);
    ~InstanceLock() override;   // gives the lock up and removes the file

    // Takes the lock and listens. HeldElsewhere: another open of the file holds it. Failed: the
    // file cannot be created or written; systemError() tells why (an errno value), and a file
    // this call created is removed again.
    Result acquire();
    int systemError() const { return error_; }
    // Whether an InstanceLock of this process holds the file.
    static bool isHeldHere(const QString& path);

signals:
    void knocked();   // a later start knocked on this holder

private:
    QString path_;
    QString identity_;
    int fd_ = -1;
    int error_ = 0;
    QLocalServer* server_ = nullptr;
};

// How long a knock waits for the holder's answer.
inline constexpr int kKnockAnswerMs = 5000;

// Knocks on the holder of the lock file and waits, letting events run, for its answer: true
// when it answered within kKnockAnswerMs. False at once when nobody holds the file; false after
// the wait when the holder is stopped or hung, or is a process that does not listen.
bool KnockOnHolder(const QString& path);
