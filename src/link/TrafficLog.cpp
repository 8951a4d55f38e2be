#include "link/TrafficLog.h"

#include "platform/ProgramFolder.h"
#include "platform/Prompts.h"
#include "state/Files.h"

#include <algorithm>

namespace {
TrafficLogRecord g_log;

void Advance() {
    if (g_log.Count < TrafficLogRecord::kSlots - 1) {
        ++g_log.Count;
        ++g_log.Head;
    } else if (g_log.Head >= TrafficLogRecord::kSlots - 1) {
        g_log.Head = 0;
        g_log.Wrapped = true;
    } else {
        ++g_log.Head;
    }
    g_log.Lines[g_log.Head].clear();
}

// Appends to the current line; what passes its bound goes on marked new lines.
void Append(QStringView text) {
    constexpr qsizetype kToken = 5;  // "<LF>", "<255>": moved whole, never cut
    for (;;) {
        QString& line = g_log.Lines[g_log.Head];
        const qsizetype room = TrafficLogRecord::kMaxLineChars - line.size();
        if (text.size() <= room) {
            line += text;
            return;
        }
        const qsizetype cut = text.size() <= kToken ? 0 : std::max<qsizetype>(room, 0);
        line += text.left(cut);
        text = text.mid(cut);
        Advance();
        g_log.Lines[g_log.Head] = QLatin1String(TrafficLogRecord::kContinued);
    }
}

}  // namespace

QString TrafficLogPath() {
    return platform::InFolder(platform::programFolders().state, QStringLiteral("rs232.buf"));
}

namespace {

void Save() {
    const int16_t fileNo = OpenFile(TrafficLogPath(), FileWrite);
    bool ok = fileNo != 0;
    if (ok) {
        for (const QString& line : TrafficLines()) {
            if (!WriteLine(fileNo, line)) {
                ok = false;
                break;
            }
        }
        CloseFile(fileNo);
    }
    if (!ok) {
        platform::prompts().Beep();
        platform::prompts().Message(QStringLiteral("Log file save failed."));
    }
}
}  // namespace

TrafficLogRecord& TrafficLogData() {
    return g_log;
}

void TrafficLog(int op, const QString& text) {
    switch (op) {
        case TrafficClear:
            // Lines stored since the last clearing give their memory back.
            for (int i = 0; i < TrafficLogRecord::kSlots && (g_log.Wrapped || i <= g_log.Head); ++i)
                g_log.Lines[i] = QString();
            g_log.Head = 0;
            g_log.Count = 0;
            g_log.Wrapped = false;
            break;
        case TrafficNewLine:
            Advance();
            Append(text);
            break;
        case TrafficAppend:
            Append(text);
            break;
        case TrafficSave:
            Save();
            break;
        default:
            break;
    }
}

QStringList TrafficLines() {
    QStringList out;
    if (g_log.Wrapped) {
        out.reserve(TrafficLogRecord::kSlots);
        for (int i = g_log.Head + 1; i < TrafficLogRecord::kSlots; ++i) out << g_log.Lines[i];
        for (int i = 0; i <= g_log.Head; ++i) out << g_log.Lines[i];
    } else {
        out.reserve(g_log.Head);
        for (int i = 1; i <= g_log.Head; ++i) out << g_log.Lines[i];
    }
    return out;
}

void LogLine(const QString& text) {
    TrafficLog(TrafficNewLine, text);
}

void LogTraffic(const QString& text) {
    // Printable runs are appended in one piece; each control character is
    // spelled out, and a CR ends the log line.
    QString run;
    auto flush = [&run] {
        if (!run.isEmpty()) {
            TrafficLog(TrafficAppend, run);
            run.clear();
        }
    };
    for (const QChar c : text) {
        const int k = c.unicode();
        if (k >= 32) {
            run += c;
            continue;
        }
        flush();
        if (k == 10) {
            TrafficLog(TrafficAppend, QStringLiteral("<LF>"));
        } else if (k == 13) {
            TrafficLog(TrafficAppend, QStringLiteral("<CR>"));
            TrafficLog(TrafficNewLine, QString());
        } else {
            TrafficLog(TrafficAppend, QStringLiteral("<%1>").arg(k));
        }
    }
    flush();
}
