// The control socket of `kelvaro32 log --control` in its own process on the
// simulator over a pseudo-terminal: the stream equals the run kept, refusals
// leave the stream going, a client that never reads loses readings counted,
// never the program's pace, and only this user gets in (the save request:
// the Python client's test).

#include "EndToEnd.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <csignal>

namespace {

struct Client {
    explicit Client(const QString& path) { socket.connectToServer(path); }
    bool Connected() { return socket.waitForConnected(2000); }
    // The next line, or an empty object when none came in time.
    QJsonObject Next(int ms = 5000) {
        QDeadlineTimer deadline(ms);
        while (!socket.canReadLine() && !deadline.hasExpired()) socket.waitForReadyRead(50);
        return QJsonDocument::fromJson(socket.readLine()).object();
    }
    // The answer to a request, the events before it kept.
    QJsonObject Ask(const QByteArray& request) {
        socket.write(request + '\n');
        socket.flush();
        for (QJsonObject o = Next(); !o.isEmpty(); o = Next()) {
            if (!o.contains("event")) return o;
            events.push_back(o);
        }
        return {};
    }
    QLocalSocket socket;
    std::vector<QJsonObject> events;
};

class ControlSocket : public ::testing::Test {
protected:
    void Start(const QStringList& simArgs, const QStringList& args = {"--control"}) {
        sim = std::make_unique<Simulator>(simArgs);
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime);
        program.setProcessEnvironment(env);
        program.start(KELVARO32, QStringList{"log", "--port", sim->path} + args);
        program.waitForStarted();
        // Connected and identified: requests that talk to the meter are taken.
        for (QDeadlineTimer deadline(20000); !deadline.hasExpired() && !program.waitForFinished(50);) {
            Client c(path);
            const QJsonObject s = c.Connected() ? c.Ask(R"({"cmd":"status"})") : QJsonObject();
            if (s["connected"].toBool() && !s["busy"].toBool()) break;
        }
        ASSERT_EQ(program.state(), QProcess::Running) << program.readAllStandardError().toStdString();
    }
    void TearDown() override { End(); }
    // Ctrl+C, as a user ends it.
    void End() {
        if (program.processId() > 0) ::kill(pid_t(program.processId()), SIGINT);
        program.waitForFinished(20000);
    }
    TempDir dir;
    const QString runtime = dir.Path("run"), path = runtime + "/kelvaro32/control";
    std::unique_ptr<Simulator> sim;
    QProcess program;
};

TEST_F(ControlSocket, streamsTheRunKeptAtTheEndWhileBadRequestsAreAnswered) {
    Start(kScatteringThermopile);
    Client c(path), other(path);
    ASSERT_TRUE(c.Connected() && other.Connected()) << program.readAllStandardError().toStdString();
    // The model and the mode in the status: the Python client's test.
    EXPECT_EQ(c.Ask(R"({"id":1,"cmd":"status"})")["path"].toString().toStdString(), sim->path.toStdString());
    EXPECT_EQ(c.Ask(R"({"id":2,"cmd":"mode","name":"power"})")["ok"], true);
    EXPECT_EQ(c.Ask(R"({"id":3,"cmd":"subscribe"})")["ok"], true);
    EXPECT_EQ(c.Ask(R"({"id":4,"cmd":"start"})")["running"], true);
    const struct {
        QByteArray line;
        const char* error;
    } bad[] = {
        {R"({"id":5,"cmd":"mode","name":"laser"})", "unknown mode \"laser\""},
        {R"({"id":6,"cmd":"command","text":"$VE"})", "a raw command is taken only when no logging mode runs"},
        {QByteArray(70000, 'x'), "request line longer than 65536 bytes; closing"},
    };
    for (const auto& row : bad)
        EXPECT_EQ(other.Ask(row.line)["error"].toString().toStdString().substr(0, strlen(row.error)),
                  row.error);
    EXPECT_TRUE(other.socket.state() == QLocalSocket::UnconnectedState ||
                other.socket.waitForDisconnected(2000))
        << "the over-long line closed it";

    std::vector<float> streamed;
    std::vector<QString> states;
    for (size_t seen = 0; streamed.size() < 40; ++seen) {
        if (seen == c.events.size()) c.events.push_back(c.Next());
        const QJsonObject& o = c.events[seen];
        ASSERT_FALSE(o.isEmpty()) << "the stream went on";
        if (o["event"] == "reading") streamed.push_back(float(o["value"].toDouble()));
        if (o["event"] == "state")
            states.push_back(o["mode"].toString() + o["running"].toVariant().toString());
    }
    // Nobody answers a reminder at the end of a headless run: the run the client
    // left unsaved is kept, not discarded with the mode, and holds the stream.
    End();
    ASSERT_TRUE(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0);
    const QString err = QString::fromUtf8(program.readAllStandardError());
    const QString said = "the unsaved run was saved to ";
    ASSERT_TRUE(err.contains(said)) << err.toStdString();
    QFile kept(err.mid(err.indexOf(said) + said.size()).section('\n', 0, 0));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly)) << kept.fileName().toStdString();
    const auto data = ReadDataFile(kept.readAll()).second;
    kept.remove();
    ASSERT_GE(data.size(), streamed.size());
    for (size_t i = 0; i < streamed.size(); ++i) EXPECT_EQ(data[i].value, streamed[i]) << "reading " << i;
    EXPECT_EQ(states, (std::vector<QString>{"powerfalse", "powertrue"})) << "subscribed, then started";
}

TEST_F(ControlSocket, aClientThatNeverReadsLosesReadingsCountedNotThePace) {
    Start({"--model", "talon", "--head-a", "type=1,name=XLP12,value=0.0125,noise=0.2", "--instant"},
          {"--control", "--mode", "power"});
    Client slow(path), fast(path);
    ASSERT_TRUE(slow.Connected() && fast.Connected()) << program.readAllStandardError().toStdString();
    slow.Ask(R"({"cmd":"subscribe"})");
    const qint64 atSubscribe = slow.Next()["readings"].toInteger();  // the state it starts from
    for (QDeadlineTimer deadline(30000); !deadline.hasExpired() && !program.waitForFinished(50);)
        if (fast.Ask(R"({"cmd":"status"})")["readings"].toInteger() > atSubscribe + 15000) break;
    fast.Ask(R"({"cmd":"stop"})");
    const qint64 atStop = fast.Ask(R"({"cmd":"status"})")["readings"].toInteger();
    qint64 received = 0, dropped = 0;
    for (QJsonObject o = slow.Next(1000); !o.isEmpty(); o = slow.Next(1000)) {
        received += o["event"] == "reading";
        dropped += o["dropped"].toInteger();
    }
    EXPECT_GT(dropped, 0) << received << " of " << atStop - atSubscribe;
    EXPECT_EQ(received + dropped, atStop - atSubscribe) << "every reading sent or counted";
}

TEST_F(ControlSocket, anotherUserIsRefusedEvenThroughOpenPermissions) {
    Start(kScatteringThermopile);
    ASSERT_TRUE(Client(path).Connected());
    for (const QString& p : {dir.Path(), runtime, runtime + "/kelvaro32", path})
        QFile::setPermissions(p, QFileDevice::Permissions(0x7777));
    const char* probe =
        "import socket,sys\ns=socket.socket(socket.AF_UNIX)\ns.connect(sys.argv[1])\n"
        "try:\n s.sendall(b'{\"cmd\":\"status\"}\\n')\n print('answer:', s.recv(1000))\n"
        "except ConnectionError:\n print('answer: closed')";
    QProcess other;
    other.start("runuser", {"-u", "nobody", "--", "/usr/bin/python3", "-c", probe, path});
    const bool ran = other.waitForFinished(10000);
    if (const QByteArray err = other.readAllStandardError(); !ran || !err.isEmpty())
        GTEST_SKIP() << "runuser cannot start a client as nobody here: " << err.toStdString();
    EXPECT_TRUE(
        QList<QByteArray>({"answer: b''\n", "answer: closed\n"}).contains(other.readAllStandardOutput()))
        << "connected, then closed unanswered";
    Client same(path);
    ASSERT_TRUE(same.Connected());
    EXPECT_EQ(same.Ask(R"({"cmd":"status"})")["ok"], true);
}

TEST_F(ControlSocket, aLiveSocketIsAnErrorAStaleOneIsReplacedAFolderOthersCanEnterIsRefused) {
    Start(kScatteringThermopile);
    const struct {
        QFileDevice::Permissions folder;
        const char* error;
    } rows[] = {
        {QFileDevice::Permissions(0x7700), "another Kelvaro32 is already listening on "},
        {QFileDevice::Permissions(0x7755), "is not a private folder of this user"},
    };
    for (const auto& row : rows) {
        QFile::setPermissions(runtime + "/kelvaro32", row.folder);
        QProcess second;
        second.setProcessEnvironment(program.processEnvironment());
        second.start(KELVARO32, {"log", "--control", "--port", "/nonexistent/tty"});
        EXPECT_EQ(second.waitForFinished(10000) ? second.exitCode() : -1, 1);
        EXPECT_TRUE(second.readAllStandardError().contains(row.error));
    }
    QFile::setPermissions(runtime + "/kelvaro32", QFileDevice::Permissions(0x7700));
    program.kill();  // leaves its socket behind
    program.waitForFinished(5000);
    ASSERT_TRUE(QFile::exists(path));
    Start(kScatteringThermopile);
    EXPECT_TRUE(Client(path).Connected()) << program.readAllStandardError().toStdString();
}

}  // namespace
