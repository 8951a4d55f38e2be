// Requests of the control socket. Whatever line a client sends, the answer
// is exactly one line holding one JSON object, its "ok" says whether the
// request was taken, and the request's "id" comes back unchanged. A request
// built from known parts is read as built.
//
// Input: a selector byte; odd: the rest is the line as it is; even: an id
// number (4 bytes), a command byte, then the argument's text.

#include "automation/ControlProtocol.h"
#include "fuzz/PureTarget.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

const char* const kCommands[] = {"status", "read", "subscribe", "unsubscribe", "mode",
                                 "start",  "stop", "reset",     "save",        "command"};
const char* const kArgument[] = {"", "", "", "", "name", "", "", "", "path", "text"};

QJsonObject AnswerOf(const ControlRequest& r) {
    const std::string line =
        r.error.isEmpty() ? ControlAnswer(r.id, "\"running\":true") : ControlError(r.id, r.error);
    Require(!line.empty() && line.back() == '\n' && line.find('\n') == line.size() - 1);
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
    Require(error.error == QJsonParseError::NoError && doc.isObject());
    const QJsonObject o = doc.object();
    Require(o.value(QLatin1String("ok")).toBool() == r.error.isEmpty());
    Require(o.value(QLatin1String("id")) == r.id);
    return o;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzBytes in(data, size);
    if (in.Byte() & 1) {
        const QByteArray line(reinterpret_cast<const char*>(data) + 1, qsizetype(size ? size - 1 : 0));
        AnswerOf(ParseControlRequest(line));
        return 0;
    }
    const int32_t id = in.Raw<int32_t>();
    const size_t k = in.Byte() % std::size(kCommands);
    const QString argument = in.Rest();
    QJsonObject request{{QStringLiteral("id"), id}, {QStringLiteral("cmd"), QLatin1String(kCommands[k])}};
    if (*kArgument[k]) request[QLatin1String(kArgument[k])] = argument;
    const ControlRequest r = ParseControlRequest(QJsonDocument(request).toJson(QJsonDocument::Compact));
    Require(r.id == QJsonValue(id));
    Require(r.error.isEmpty() == (!*kArgument[k] || !argument.isEmpty()));
    if (r.error.isEmpty())
        Require(int(r.command) == int(k) && r.argument == (*kArgument[k] ? argument : QString()));
    const QJsonObject answer = AnswerOf(r);
    if (r.error.isEmpty()) Require(answer.value(QLatin1String("running")).toBool());
    return 0;
}
