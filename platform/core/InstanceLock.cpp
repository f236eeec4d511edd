#include "platform/core/InstanceLock.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSet>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A file as the system knows it, whatever path reaches it.
QString identityOf(const struct stat& st)
{
    return QString::number(quint64(st.st_dev), 16) + QLatin1Char('-') + QString::number(quint64(st.st_ino), 16);
}

// The identity of the file the path names now; empty when there is none.
QString identityAt(const QString& path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? identityOf(st) : QString();
}

// The socket's name: in the abstract namespace (no file is left behind), short whatever the path.
QString serverName(const QString& identity) { return QStringLiteral("/instance-lock-") + identity; }

// Whether an open of the file holds its lock now.
bool isLocked(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool locked = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return locked;
}

// Lets events run until the loop is told to quit or the time is up.
void runEvents(QEventLoop& loop, qint64 ms)
{
    QTimer::singleShot(std::max<qint64>(ms, 0), &loop, &QEventLoop::quit);
    loop.exec();
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
    heldHere().remove(identity_);
    ::unlink(QFile::encodeName(path_).constData());   // still locked: nobody takes it meanwhile
    ::close(fd_);
}

InstanceLock::Result InstanceLock::acquire()
{
    const QByteArray name = QFile::encodeName(path_);
    for (;;) {
        // Whether this call made the file: only such a file is removed when the call fails.
        bool created = true;
        int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST) {
            created = false;
            fd = ::open(name.constData(), O_RDWR | O_CLOEXEC);
            if (fd < 0 && errno == ENOENT)
                continue;   // its holder ended and removed it meanwhile
        }
        if (fd < 0) {
            error_ = errno;
            return Failed;
        }
        const auto fail = [&](int error) {
            error_ = error;
            if (created)
                ::unlink(name.constData());
            ::close(fd);
            return Failed;
        };
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EWOULDBLOCK) {
                ::close(fd);   // another start opened the file first: it is that start's
                return HeldElsewhere;
            }
            return fail(errno);
        }
        // A holder that ended meanwhile removed the file it held: lock the one now there.
        struct stat held, named;
        if (::fstat(fd, &held) != 0 || ::stat(name.constData(), &named) != 0 || held.st_ino != named.st_ino ||
            held.st_dev != named.st_dev) {
            ::close(fd);
            continue;
        }
        // The process number, for a person who looks; what a file held before says counts for
        // nothing. Written before the old content is cut, so a disk that refuses the bytes
        // leaves a file found here as it was.
        const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
        errno = 0;
        if (::pwrite(fd, pid.constData(), size_t(pid.size()), 0) != pid.size() || ::ftruncate(fd, pid.size()) != 0)
            return fail(errno != 0 ? errno : ENOSPC);   // still locked: nobody takes it before it goes
        fd_ = fd;
        identity_ = identityOf(held);
        break;
    }
    heldHere().insert(identity_);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::AbstractNamespaceOption);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* knock = server_->nextPendingConnection()) {
            connect(knock, &QLocalSocket::disconnected, knock, &QObject::deleteLater);
            knock->write("!", 1);   // the answer: this holder's events run
            knock->flush();          // sent now, even if the holder ends on hearing the knock
            knock->disconnectFromServer();
        }
        emit knocked();
    });
    server_->listen(serverName(identity_));   // without it the lock still holds; a knock then goes unanswered
    return Acquired;
}

bool InstanceLock::isHeldHere(const QString& path)
{
    const QString identity = identityAt(path);
    return !identity.isEmpty() && heldHere().contains(identity);
}

bool KnockOnHolder(const QString& path)
{
    const QDeadlineTimer deadline(kKnockAnswerMs);
    for (;;) {
        const QString identity = identityAt(path);
        if (identity.isEmpty())
            return false;
        QLocalSocket socket;
        socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
        socket.connectToServer(serverName(identity));
        if (socket.state() != QLocalSocket::UnconnectedState) {
            // Someone listens: a stopped or hung holder never answers.
            QEventLoop loop;
            bool answered = false;
            QObject::connect(&socket, &QLocalSocket::readyRead, &loop, [&] {
                answered = true;
                loop.quit();
            });
            QObject::connect(&socket, &QLocalSocket::disconnected, &loop, &QEventLoop::quit);
            QObject::connect(&socket, &QLocalSocket::errorOccurred, &loop, &QEventLoop::quit);
            runEvents(loop, deadline.remainingTime());
            return answered;
        }
        // Nobody listens: a holder that has just taken the lock listens a moment later; a
        // process that holds the file without listening never does.
        if (!isLocked(path) || deadline.hasExpired())
            return false;
        QEventLoop pause;
        runEvents(pause, std::min<qint64>(100, deadline.remainingTime()));
    }
}
