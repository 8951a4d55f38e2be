#include "app/ControlServer.h"

#include "app/ControlModes.h"
#include "app/ModeSwitch.h"
#include "automation/LogRequest.h"
#include "automation/ReadingJson.h"
#include "link/Link.h"
#include "link/MeterIdentity.h"
#include "platform/PortTable.h"
#include "platform/ProgramFolder.h"
#include "platform/SilentPrompts.h"
#include "state/AppState.h"
#include "state/Configuration.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>

namespace {

// While a request runs, what the windows would show or ask goes into its
// answer instead: the first text becomes the error, a question is answered
// as Cancel (No where there is no Cancel), so a reminder keeps what it guards.
class AnsweringPrompts : public platform::SilentPrompts {
public:
    void Message(const QString& text, const QString&, platform::Icon) override { Note(text); }
    bool AskYesNo(const QString& text, const QString&, platform::Icon) override {
        Note(text);
        return false;
    }
    platform::Answer AskYesNoCancel(const QString& text, const QString&, platform::Icon) override {
        Note(text);
        return platform::Answer::Cancel;
    }
    QString text;

private:
    void Note(const QString& t) {
        if (text.isEmpty()) text = t;
    }
};

QString ActiveModeName() {
    const int16_t code = App().ActiveMode;
    if (const ModeName* m = ModeNameOfCode(code)) return QLatin1String(m->name);
    switch (code) {
        case ModeNone:
            return QStringLiteral("none");
        case ModeTerminal:
            return QStringLiteral("terminal");
        case ModePcFile:
            return QStringLiteral("pc-file");
        case ModeDeviceFile:
            return QStringLiteral("meter-log");
        default:
            return QStringLiteral("other");
    }
}

Mode* ActiveMode() {
    return Modes().Find(App().ActiveMode);
}

std::string Members(const QJsonObject& o) {
    const QByteArray a = QJsonDocument(o).toJson(QJsonDocument::Compact);
    return std::string(a.constData() + 1, size_t(a.size() - 2));
}

}  // namespace

ControlServer::ControlServer() {
    // Connect and disconnect happen inside the link; a look every 50 ms finds them.
    QObject::connect(&stateWatch_, &QTimer::timeout, [this] { CheckState(); });
    // A write a reading would wake the client and the system as often as the
    // meter answers; gathered for 10 ms they cost the run next to nothing.
    flush_.setSingleShot(true);
    flush_.setInterval(10);
    QObject::connect(&flush_, &QTimer::timeout, [this] { Flush(); });
}

ControlServer::~ControlServer() {
    // A socket going away says so: nobody is left to hear it.
    for (auto& c : clients_) QObject::disconnect(c->socket.get(), nullptr, nullptr, nullptr);
    clients_.clear();
    for (Mode* m : followed_)
        for (int16_t code = 0; code < ModeRegistry::kCodes; ++code)
            if (Modes().Find(code) == m) {
                m->Detach(*this);
                break;
            }
}

bool ControlServer::Open(const QString& path, QString& error) {
    if (!listener_.Listen(path, error)) return false;
    listener_.OnConnection = [this](QLocalSocket* s) { Take(s); };
    for (int16_t code = 0; code < ModeRegistry::kCodes; ++code) {
        Mode* m = Modes().Find(code);
        if (!m || std::find(followed_.begin(), followed_.end(), m) != followed_.end()) continue;
        m->Attach(*this);
        followed_.push_back(m);
    }
    lastState_ = StateKey();
    stateWatch_.start(50);
    return true;
}

void ControlServer::Take(QLocalSocket* socket) {
    auto client = std::make_unique<Client>();
    client->socket.reset(socket);
    // Qt reads no more than this ahead of the requests taken.
    socket->setReadBufferSize(2 * kControlLineLimit);
    QObject::connect(socket, &QLocalSocket::readyRead, socket, [this] { Pump(); });
    QObject::connect(socket, &QLocalSocket::disconnected, socket, [this] { Pump(); });
    clients_.push_back(std::move(client));
}

bool ControlServer::TopUp(Client& c) {
    while (!c.closing && c.in.size() <= kControlLineLimit && c.socket->bytesAvailable() > 0) {
        c.in += c.socket->read(kControlLineLimit + 1 - c.in.size() + 1);
        const qsizetype end = c.in.indexOf('\n');
        if ((end < 0 ? c.in.size() : end) > kControlLineLimit) return false;
        if (end >= 0) break;  // a whole request waits
    }
    return true;
}

void ControlServer::Send(Client& c, const std::string& line) {
    if (c.closing) return;
    if (!c.stream.empty()) {  // readings that came before go first
        c.socket->write(c.stream.data(), qint64(c.stream.size()));
        c.stream.clear();
    }
    c.socket->write(line.data(), qint64(line.size()));
}

void ControlServer::Flush() {
    for (auto& c : clients_)
        if (!c->stream.empty()) Send(*c, {});
}

// Requests are taken one at a time: a request that waits for the meter runs
// the event loop, and what arrives meanwhile waits its turn here.
void ControlServer::Pump() {
    if (busy_) return;
    busy_ = true;
    for (bool more = true; more;) {
        more = false;
        for (size_t i = 0; i < clients_.size(); ++i) {
            Client& c = *clients_[i];
            if (c.closing) continue;
            if (!TopUp(c)) {
                Send(
                    c,
                    ControlError(
                        QJsonValue::Undefined,
                        QStringLiteral("request line longer than %1 bytes; closing").arg(kControlLineLimit)));
                c.closing = true;
                c.in.clear();
                c.socket->disconnectFromServer();  // after the answer went out
                continue;
            }
            const qsizetype end = c.in.indexOf('\n');
            if (end < 0) continue;
            QByteArray line = c.in.left(end);
            c.in.remove(0, end + 1);
            if (line.endsWith('\r')) line.chop(1);
            if (!line.trimmed().isEmpty()) Send(*clients_[i], Answer(*clients_[i], line));
            more = true;
        }
    }
    // Those that went away go now, outside any request.
    std::erase_if(clients_, [](const std::unique_ptr<Client>& c) {
        const bool gone = c->socket->state() == QLocalSocket::UnconnectedState;
        if (gone) c->socket.release()->deleteLater();
        return gone;
    });
    busy_ = false;
}

std::string ControlServer::Answer(Client& c, const QByteArray& line) {
    const ControlRequest r = ParseControlRequest(line);
    if (!r.error.isEmpty()) return ControlError(r.id, r.error);
    AnsweringPrompts answering;
    platform::Prompts& before = platform::prompts();
    platform::setPrompts(&answering);
    std::string fields;
    QString error = Do(c, r, fields);
    platform::setPrompts(&before);
    if (error.isEmpty()) error = answering.text;
    std::string answer = error.isEmpty() ? ControlAnswer(r.id, fields) : ControlError(r.id, error);
    // A new subscriber learns the state it starts from.
    if (r.command == ControlCommand::Subscribe)
        answer += ControlEvent("state", 0, "{" + StateMembers() + "}");
    return answer;
}

QString ControlServer::Do(Client& c, const ControlRequest& r, std::string& fields) {
    Mode* mode = ActiveMode();
    const bool logging = mode && mode->Progress();
    const bool asksNothing = r.command == ControlCommand::Status || r.command == ControlCommand::Read ||
                             r.command == ControlCommand::Subscribe ||
                             r.command == ControlCommand::Unsubscribe;
    if (!asksNothing && LinkBusy()) return QStringLiteral("the meter is busy (being identified); ask again");
    switch (r.command) {
        case ControlCommand::Status:
            fields = StateMembers();
            return {};
        case ControlCommand::Read:
            fields = "\"reading\":" + (latest_ ? ReadingJson(*latest_) : std::string("null"));
            return {};
        case ControlCommand::Subscribe:
            c.subscribed = true;
            return {};
        case ControlCommand::Unsubscribe:
            c.subscribed = false;
            return {};
        case ControlCommand::Mode:
            return EnterMode(r.argument);
        case ControlCommand::Start:
        case ControlCommand::Stop: {
            if (!logging) return QStringLiteral("no logging mode is active");
            const bool start = r.command == ControlCommand::Start;
            if (Logging(*mode) != start) StartStop(*mode);
            // The engine told why (through the prompts) where it could.
            if (Logging(*mode) != start)
                return start ? QStringLiteral("the run did not start")
                             : QStringLiteral("the run did not stop");
            fields = std::string("\"running\":") + (Logging(*mode) ? "true" : "false");
            return {};
        }
        case ControlCommand::Reset:
            if (!logging || !ResetRun(*mode)) return QStringLiteral("no logging mode is active");
            latest_.reset();
            return {};
        case ControlCommand::Save: {
            if (!logging) return QStringLiteral("no logging mode is active");
            const QString path = QDir::isAbsolutePath(r.argument)
                                     ? r.argument
                                     : QDir(platform::ProgramFolder()).absoluteFilePath(r.argument);
            mode->Save(QDir::toNativeSeparators(path));
            fields = "\"path\":" + JsonText(path);
            return {};
        }
        case ControlCommand::Command:
            if (mode && Logging(*mode))
                return QStringLiteral("a raw command is taken only when no logging mode runs");
            return RawCommand(r.argument, fields);
    }
    return {};
}

QString ControlServer::EnterMode(const QString& name) {
    if (name == QLatin1String("none")) {
        SwitchMode(ModeNone);
        return {};
    }
    const ModeName* m = FindModeName(name);
    if (!m) return QStringLiteral("unknown mode \"%1\"").arg(name.left(64));
    if (!Meter().Connected) return QStringLiteral("no meter is connected");
    const std::optional<ModeMenuItem> item =
        MenuItemFor(*m, 0, false, Meter().DeviceType == MeterModel::MeridelTwo);
    if (const QString why = NotOffered(*m, 0, item); !why.isEmpty()) return why;
    ModeMenuAction(*item);
    if (App().ActiveMode != m->code) return QStringLiteral("%1 mode was not entered").arg(name);
    return {};
}

QString ControlServer::RawCommand(const QString& text, std::string& fields) {
    if (!Meter().Connected) return QStringLiteral("no meter is connected");
    QString command = text.trimmed();
    if (command.startsWith(QLatin1Char('$'))) command.remove(0, 1);
    if (command.isEmpty() || command.size() > 80 || command.contains(QLatin1Char('\r')) ||
        command.contains(QLatin1Char('\n')))
        return QStringLiteral("a raw command is one line of up to 80 characters");
    QueryOnce(true, command);
    QString reply = Link().LastQueryReply;
    while (reply.endsWith(QLatin1Char('\r')) || reply.endsWith(QLatin1Char('\n'))) reply.chop(1);
    if (reply.isEmpty()) return QStringLiteral("the meter did not answer");
    fields = "\"reply\":" + JsonText(reply);
    return {};
}

std::string ControlServer::StateMembers() const {
    const MeterIdentity& meter = Meter();
    QJsonObject o;
    o[QLatin1String("connected")] = meter.Connected;
    o[QLatin1String("busy")] = LinkBusy();
    const int port = CurrentSettings().CommPort;
    o[QLatin1String("port")] = QStringLiteral("COM%1").arg(port);
    o[QLatin1String("path")] = platform::portTable().Device(port);
    o[QLatin1String("model")] = meter.Connected ? meter.ModelName() : QString();
    QJsonArray heads;
    for (int16_t ch = 0; ch < 2 && meter.Connected; ++ch) {
        if (!HeadPresent(ch)) continue;
        const ChannelInfo& info = meter.Channels[size_t(ch)];
        heads.append(QJsonObject{{QLatin1String("channel"), QString(QChar('A' + ch))},
                                 {QLatin1String("head"), info.HeadName},
                                 {QLatin1String("type"), meter.HeadTypeName(info.HeadType)}});
    }
    o[QLatin1String("heads")] = heads;
    o[QLatin1String("mode")] = ActiveModeName();
    const Mode* mode = ActiveMode();
    const std::optional<RunProgress> p = mode ? mode->Progress() : std::nullopt;
    o[QLatin1String("running")] = p && p->Logging;
    o[QLatin1String("readings")] = qint64(p ? p->Readings : 0);
    return Members(o);
}

// What a state event is sent for: connect, disconnect, another mode, start, stop.
std::string ControlServer::StateKey() const {
    const Mode* mode = ActiveMode();
    return std::to_string(Meter().Connected) + ActiveModeName().toStdString() +
           std::to_string(mode && Logging(*mode));
}

void ControlServer::CheckState() {
    const std::string key = StateKey();
    if (key == lastState_) return;
    lastState_ = key;
    Broadcast("{" + StateMembers() + "}");
}

void ControlServer::Broadcast(const std::string& members) {
    for (auto& c : clients_) {
        if (!c->subscribed) continue;
        // The readings dropped before it are counted here too: a stopped run sends no more readings.
        Send(*c, ControlEvent("state", c->dropped, members));
        c->dropped = 0;
    }
}

void ControlServer::NewReading(const Reading& reading) {
    latest_ = reading;
    ++readings_;
    std::string json;
    for (auto& c : clients_) {
        if (!c->subscribed || c->closing) continue;
        // A stream nobody reads keeps its bound; the reading is counted instead.
        if (c->socket->bytesToWrite() + qint64(c->stream.size()) > kQueueLimit) {
            ++c->dropped;
            continue;
        }
        if (json.empty()) json = ReadingJson(reading);
        c->stream += ControlEvent("reading", c->dropped, json);
        c->dropped = 0;
        if (!flush_.isActive()) flush_.start();
    }
}
