#include "automation/ControlProtocol.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

struct CommandName {
    const char* name;
    ControlCommand command;
    const char* argument;  // the member it needs, or null
};

constexpr CommandName kCommands[] = {
    {"status", ControlCommand::Status, nullptr},
    {"read", ControlCommand::Read, nullptr},
    {"subscribe", ControlCommand::Subscribe, nullptr},
    {"unsubscribe", ControlCommand::Unsubscribe, nullptr},
    {"mode", ControlCommand::Mode, "name"},
    {"start", ControlCommand::Start, nullptr},
    {"stop", ControlCommand::Stop, nullptr},
    {"reset", ControlCommand::Reset, nullptr},
    {"save", ControlCommand::Save, "path"},
    {"command", ControlCommand::Command, "text"},
};

// A JSON value in its compact form: through an array, the only way a
// document takes a bare value.
std::string Compact(const QJsonValue& v) {
    const QByteArray a = QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact);
    return std::string(a.constData() + 1, size_t(a.size() - 2));
}

std::string Head(const QJsonValue& id) {
    return id.isUndefined() ? std::string("{") : "{\"id\":" + Compact(id) + ",";
}

}  // namespace

std::string JsonText(const QString& text) {
    return Compact(QJsonValue(text));
}

ControlRequest ParseControlRequest(const QByteArray& line) {
    ControlRequest r;
    if (line.size() > kControlLineLimit) {
        r.error = QStringLiteral("request line longer than %1 bytes").arg(kControlLineLimit);
        return r;
    }
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(line, &parseError);
    if (parseError.error != QJsonParseError::NoError || !doc.isObject()) {
        r.error = parseError.error != QJsonParseError::NoError
                      ? QStringLiteral("malformed JSON: ") + parseError.errorString()
                      : QStringLiteral("a request is one JSON object");
        return r;
    }
    const QJsonObject o = doc.object();
    r.id = o.value(QLatin1String("id"));
    const QJsonValue cmd = o.value(QLatin1String("cmd"));
    if (!cmd.isString()) {
        r.error = QStringLiteral("the request has no \"cmd\"");
        return r;
    }
    for (const CommandName& c : kCommands) {
        if (cmd.toString() != QLatin1String(c.name)) continue;
        r.command = c.command;
        if (!c.argument) return r;
        const QJsonValue arg = o.value(QLatin1String(c.argument));
        if (!arg.isString() || arg.toString().isEmpty())
            r.error = QStringLiteral("\"%1\" needs \"%2\": a text")
                          .arg(QLatin1String(c.name), QLatin1String(c.argument));
        else
            r.argument = arg.toString();
        return r;
    }
    r.error = QStringLiteral("unknown command \"%1\"").arg(cmd.toString().left(64));
    return r;
}

std::string ControlAnswer(const QJsonValue& id, const std::string& fields) {
    return Head(id) + "\"ok\":true" + (fields.empty() ? "" : "," + fields) + "}\n";
}

std::string ControlError(const QJsonValue& id, const QString& text) {
    return Head(id) + "\"ok\":false,\"error\":" + JsonText(text) + "}\n";
}

std::string ControlEvent(const char* event, int64_t dropped, const std::string& members) {
    std::string out = std::string("{\"event\":\"") + event + '"';
    if (dropped > 0) out += ",\"dropped\":" + std::to_string(dropped);
    // `members` is an object of its own: its braces go.
    if (members.size() > 2) out += "," + members.substr(1, members.size() - 2);
    return out + "}\n";
}
