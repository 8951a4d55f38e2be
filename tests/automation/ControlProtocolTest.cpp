// Request lines of the control socket: what each is read as, and the one
// answer line every refusal gets, id echoed.

#include "automation/ControlProtocol.h"

#include <gtest/gtest.h>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

TEST(ControlProtocol, eachLineIsReadAsACommandOrAnsweredWithItsError) {
    const QByteArray tooLong = R"({"cmd":"save","path":")" + QByteArray(64 * 1024, 'x') + R"("})";
    // The line; the command and argument it is read as; the start of the refusal's text (null when
    // accepted); the id as the answer carries it.
    const std::tuple<QByteArray, ControlCommand, const char*, const char*, const char*> rows[] = {
        {R"({"id":7,"cmd":"status"})", ControlCommand::Status, "", nullptr, "7"},
        {R"({"cmd":"subscribe","id":"a b"})", ControlCommand::Subscribe, "", nullptr, R"("a b")"},
        {R"({"id":[1,{"x":null}],"cmd":"mode","name":"energy-ratio"})", ControlCommand::Mode, "energy-ratio",
         nullptr, R"([1,{"x":null}])"},
        {R"({"cmd":"save","path":"/tmp/r\u00e9sum\u00e9.pwr"})", ControlCommand::Save, "/tmp/résumé.pwr",
         nullptr, nullptr},
        {R"({"cmd":"command","text":"$VE"})", ControlCommand::Command, "$VE", nullptr, nullptr},
        {R"({"id":1,"cmd":"status")", {}, "", "malformed JSON", nullptr},
        {R"([{"cmd":"status"}])", {}, "", "a request is one JSON object", nullptr},
        {R"({"id":2})", {}, "", R"(the request has no "cmd")", "2"},
        {R"({"id":3,"cmd":7})", {}, "", R"(the request has no "cmd")", "3"},
        {R"({"id":4,"cmd":"launch"})", {}, "", R"(unknown command "launch")", "4"},
        {R"({"id":5,"cmd":"mode"})", {}, "", R"("mode" needs "name": a text)", "5"},
        {R"({"id":6,"cmd":"save","path":""})", {}, "", R"("save" needs "path")", "6"},
        {R"({"id":null,"cmd":"command","text":5})", {}, "", R"("command" needs "text")", "null"},
        {tooLong, {}, "", "request line longer than 65536 bytes", nullptr},
    };
    for (const auto& [line, command, argument, error, id] : rows) {
        SCOPED_TRACE(line.left(60).toStdString());
        const ControlRequest r = ParseControlRequest(line);
        const std::string answer = r.error.isEmpty() ? ControlAnswer(r.id, "") : ControlError(r.id, r.error);
        ASSERT_EQ(answer.find('\n'), answer.size() - 1) << "one line";
        const QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(answer)).object();
        EXPECT_EQ(o["ok"].toBool(), error == nullptr);
        if (error) {
            EXPECT_TRUE(o["error"].toString().startsWith(error)) << answer;
        } else {
            EXPECT_EQ(std::pair(r.command, r.argument), std::pair(command, QString::fromUtf8(argument)));
        }
        const QByteArray echoed = QJsonDocument(QJsonArray{o.value("id")}).toJson(QJsonDocument::Compact);
        EXPECT_EQ(o.contains("id") ? echoed.mid(1, echoed.size() - 2) : QByteArray(), QByteArray(id))
            << answer;
    }
}

}  // namespace
