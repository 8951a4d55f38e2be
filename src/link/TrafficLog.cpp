#include "link/TrafficLog.h"

#include "platform/Prompts.h"
#include "state/Files.h"

namespace {
TrafficLogRecord g_log;

void NewLine(const QString& text) {
    if (g_log.Count < TrafficLogRecord::kSlots - 1) {
        ++g_log.Count;
        ++g_log.Head;
    } else if (g_log.Head >= TrafficLogRecord::kSlots - 1) {
        g_log.Head = 0;
        g_log.Wrapped = true;
    } else {
        ++g_log.Head;
    }
    g_log.Lines[g_log.Head] = text;
}

void Save() {
    const int16_t fileNo = OpenFile(QStringLiteral("rs232.buf"), FileWrite);
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
            g_log.Head = 0;
            g_log.Count = 0;
            g_log.Wrapped = false;
            g_log.Lines[0].clear();  // appends before the first new line land here
            break;
        case TrafficNewLine:
            NewLine(text);
            break;
        case TrafficAppend:
            g_log.Lines[g_log.Head] += text;
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
