#pragma once

#include <QString>
#include <functional>
#include <memory>

class QLocalServer;
class QLocalSocket;

namespace platform {

// Where the control socket of this user lives: $XDG_RUNTIME_DIR/kelvaro32/control,
// or /tmp/kelvaro32-<uid>/control when XDG_RUNTIME_DIR is unset or relative.
QString ControlSocketPath();

// The listening end of the control socket. Only this user gets in: the
// folder is the user's own with mode 0700, the socket 0600, and every
// connection whose peer is another user is closed at once, whatever the
// permissions say. A socket left by a program that died is replaced; one
// that another running program answers on is an error.
class ControlListener {
public:
    ControlListener();
    ~ControlListener();  // stops listening and removes the socket file
    ControlListener(const ControlListener&) = delete;
    ControlListener& operator=(const ControlListener&) = delete;

    // False with the reason in `error` when it cannot listen at `path`.
    bool Listen(const QString& path, QString& error);
    QString Path() const { return path_; }

    // Each accepted connection of this user; the receiver owns the socket.
    std::function<void(QLocalSocket*)> OnConnection;

private:
    void Accept();
    std::unique_ptr<QLocalServer> server_;
    QString path_;
};

}  // namespace platform
