#include "platform/core/InstanceLock.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSet>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The file as every process names it: the folder's canonical path and the file's name.
QString canonicalLockPath(const QString& path)
{
    const QFileInfo info(path);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return (folder.isEmpty() ? info.absolutePath() : folder) + QLatin1Char('/') + info.fileName();
}

// The socket's name: in the abstract namespace (no file is left behind), short whatever the
// folder's path.
QString serverName(const QString& path)
{
    const QString canonical = canonicalLockPath(path);
    return QLatin1Char('/') + QFileInfo(canonical).fileName() + QLatin1Char('-') +
           QString::fromLatin1(QCryptographicHash::hash(QFile::encodeName(canonical), QCryptographicHash::Sha1).toHex());
}

QSet<QString>& heldHere()
{
    static QSet<QString> held;
    return held;
}

}  // namespace

InstanceLock::InstanceLock(const QString& path, QObject* parent) : QObject(parent), path_(path) {}

InstanceLock::~InstanceLock()
{
    if (fd_ < 0)
        return;
    heldHere().remove(canonicalLockPath(path_));
    ::unlink(QFile::encodeName(path_).constData());   // still locked: nobody takes it meanwhile
    ::close(fd_);
}

InstanceLock::Result InstanceLock::acquire()
{
    const QByteArray name = QFile::encodeName(path_);
    for (;;) {
        const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) {
            error_ = errno;
            return Failed;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            error_ = errno;
            ::close(fd);
            if (error_ == EWOULDBLOCK)
                return HeldElsewhere;
            return Failed;
        }
        // A holder that ended meanwhile removed the file it held: lock the one now there.
        struct stat held, named;
        if (::fstat(fd, &held) != 0 || ::stat(name.constData(), &named) != 0 || held.st_ino != named.st_ino ||
            held.st_dev != named.st_dev) {
            ::close(fd);
            continue;
        }
        // The process number, for a person who looks; what a file held before says counts for nothing.
        const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
        errno = 0;
        if (::ftruncate(fd, 0) != 0 || ::write(fd, pid.constData(), size_t(pid.size())) != pid.size()) {
            error_ = errno != 0 ? errno : ENOSPC;
            ::close(fd);
            return Failed;
        }
        fd_ = fd;
        break;
    }
    heldHere().insert(canonicalLockPath(path_));
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::AbstractNamespaceOption);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* knock = server_->nextPendingConnection())
            knock->deleteLater();
        emit knocked();
    });
    server_->listen(serverName(path_));   // without it the lock still holds; a knock is then not heard
    return Acquired;
}

bool InstanceLock::isHeldHere(const QString& path) { return heldHere().contains(canonicalLockPath(path)); }

bool KnockOnHolder(const QString& path)
{
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(serverName(path));
    if (!socket.waitForConnected(2000))
        return false;
    socket.disconnectFromServer();
    return true;
}
