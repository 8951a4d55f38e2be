#pragma once

#include "automation/ControlProtocol.h"
#include "platform/ControlListener.h"
#include "state/Mode.h"

#include <QByteArray>
#include <QTimer>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLocalSocket;

// The control socket of a running program, windows or not: answers the
// requests of every client of this user, line by line, with the same engines
// and Mode-menu path the windows use, and streams readings and state changes
// to the clients that subscribed. A client that does not read its stream
// loses readings (counted in its next event), never the program's pace.
class ControlServer : public ModeObserver {
public:
    ControlServer();
    ~ControlServer() override;

    // Listens at `path` and follows every registered mode; false with the
    // reason in `error`.
    bool Open(const QString& path, QString& error);
    QString Path() const { return listener_.Path(); }

    // Bytes an unread stream may hold before readings are dropped for it.
    static constexpr qint64 kQueueLimit = 256 * 1024;

    void NewReading(const Reading& reading) override;
    void Began() override { CheckState(); }
    void Ended() override { CheckState(); }

private:
    struct Client {
        std::unique_ptr<QLocalSocket> socket;
        QByteArray in;
        std::string stream;  // readings not yet handed to the socket
        bool subscribed = false;
        bool closing = false;
        int64_t dropped = 0;
    };

    void Take(QLocalSocket* socket);
    void Pump();
    bool TopUp(Client& c);  // false when the client broke the line limit
    void Send(Client& c, const std::string& line);
    void Flush();  // the readings gathered for each client go out together
    std::string Answer(Client& c, const QByteArray& line);
    QString Do(Client& c, const ControlRequest& r, std::string& fields);
    QString EnterMode(const QString& name);
    QString RawCommand(const QString& text, std::string& fields);
    std::string StateMembers() const;
    std::string StateKey() const;
    void CheckState();
    void Broadcast(const std::string& members);  // a state event to every subscriber

    platform::ControlListener listener_;
    std::vector<std::unique_ptr<Client>> clients_;
    std::vector<Mode*> followed_;
    QTimer stateWatch_;
    QTimer flush_;
    std::string lastState_;
    std::optional<Reading> latest_;
    int64_t readings_ = 0;
    bool busy_ = false;
};
