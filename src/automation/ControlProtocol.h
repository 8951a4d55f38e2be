#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <string>

// The control socket speaks one JSON object a line each way. A request:
// {"id": any, "cmd": "status"|"read"|"subscribe"|"unsubscribe"|"mode"|"start"|
// "stop"|"reset"|"save"|"command", "name"|"path"|"text": "..."}; "id" is
// optional and echoed in the answer: {"id":…,"ok":true,…} or
// {"id":…,"ok":false,"error":"…"}.

// The longest request line taken; a longer one closes its connection.
inline constexpr qsizetype kControlLineLimit = 64 * 1024;

enum class ControlCommand { Status, Read, Subscribe, Unsubscribe, Mode, Start, Stop, Reset, Save, Command };

struct ControlRequest {
    QJsonValue id = QJsonValue::Undefined;  // Undefined: none given
    ControlCommand command = ControlCommand::Status;
    QString argument;  // "name" of mode, "path" of save, "text" of command
    QString error;     // not empty: the request is refused with this text
};

// Reads one request line (its line end taken off).
ControlRequest ParseControlRequest(const QByteArray& line);

// Answer lines, each ending with LF. `fields` is "" or JSON members to add,
// such as "\"running\":true".
std::string ControlAnswer(const QJsonValue& id, const std::string& fields);
std::string ControlError(const QJsonValue& id, const QString& text);

// An event line: {"event":"reading",("dropped":n,)…the reading's members}
// from a reading's JSON object, or {"event":"state",…} from members.
std::string ControlEvent(const char* event, int64_t dropped, const std::string& members);

// A text as a JSON string, quotes included.
std::string JsonText(const QString& text);
