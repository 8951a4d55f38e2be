#include "platform/ControlListener.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#endif

namespace platform {

namespace {

#ifdef Q_OS_UNIX
// The folder is ours and nobody else may even look into it.
bool PrivateFolder(const QString& folder, QString& error) {
    const QByteArray name = QFile::encodeName(folder);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST) {
        error = QStringLiteral("cannot create the folder %1: %2")
                    .arg(folder, QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() ||
        (st.st_mode & 077) != 0) {
        error = QStringLiteral(
                    "the folder %1 is not a private folder of this user (it must be owned by "
                    "uid %2 with mode 0700); the control socket is not opened")
                    .arg(folder)
                    .arg(::geteuid());
        return false;
    }
    return true;
}

bool SameUser(qintptr fd) {
    struct ucred peer {};
    socklen_t size = sizeof peer;
    return ::getsockopt(int(fd), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && size == sizeof peer &&
           peer.uid == ::geteuid();
}
#else
bool PrivateFolder(const QString& folder, QString& error) {
    if (QDir().mkpath(folder)) return true;
    error = QStringLiteral("cannot create the folder %1").arg(folder);
    return false;
}
bool SameUser(qintptr) {
    return true;
}
#endif

}  // namespace

QString ControlSocketPath() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime))
        return runtime + QStringLiteral("/kelvaro32/control");
#ifdef Q_OS_UNIX
    return QStringLiteral("/tmp/kelvaro32-%1/control").arg(::geteuid());
#else
    return QDir::tempPath() + QStringLiteral("/kelvaro32/control");
#endif
}

ControlListener::ControlListener() = default;

ControlListener::~ControlListener() {
    if (server_) server_->close();  // removes the socket file
}

bool ControlListener::Listen(const QString& path, QString& error) {
    if (!PrivateFolder(QFileInfo(path).absolutePath(), error)) return false;
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink()) {
        QLocalSocket probe;
        probe.connectToServer(path);
        if (probe.waitForConnected(500)) {
            error = QStringLiteral("another Kelvaro32 is already listening on %1").arg(path);
            return false;
        }
        QLocalServer::removeServer(path);  // left behind by a program that died
    }
    server_ = std::make_unique<QLocalServer>();
    server_->setMaxPendingConnections(64);
    if (!server_->listen(path)) {
        error = QStringLiteral("cannot listen on %1: %2").arg(path, server_->errorString());
        server_.reset();
        return false;
    }
#ifdef Q_OS_UNIX
    ::chmod(QFile::encodeName(path).constData(), 0600);
#endif
    path_ = path;
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] { Accept(); });
    return true;
}

void ControlListener::Accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        socket->setParent(nullptr);
        if (!SameUser(socket->socketDescriptor()) || !OnConnection) {
            socket->abort();
            delete socket;
            continue;
        }
        OnConnection(socket);
    }
}

}  // namespace platform
