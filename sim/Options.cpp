#include "sim/Options.h"

#include "sim/Models.h"

#include <QRegularExpression>
#include <cmath>

namespace sim {

namespace {

bool ToInt(const QString& s, int& v, int lo, int hi) {
    bool ok = false;
    int x = s.trimmed().toInt(&ok);
    if (!ok || x < lo || x > hi) return false;
    v = x;
    return true;
}

bool ToDouble(const QString& s, double& v, double lo) {
    bool ok = false;
    double x = s.trimmed().toDouble(&ok);
    if (!ok || !(x >= lo) || std::isinf(x)) return false;
    v = x;
    return true;
}

// "key=value,flag,..." into pairs; a bare word has an empty value.
QList<QPair<QString, QString>> KeyValues(const QString& text) {
    QList<QPair<QString, QString>> out;
    for (const QString& part : text.split(',', Qt::SkipEmptyParts)) {
        int eq = part.indexOf('=');
        if (eq < 0)
            out.append({part.trimmed().toLower(), QString()});
        else
            out.append({part.left(eq).trimmed().toLower(), part.mid(eq + 1)});
    }
    return out;
}

bool ParseReading(const QString& key, const QString& value, ReadingSpec& r, bool& known) {
    known = true;
    if (key == "value") return ToDouble(value, r.base, -1e300);
    if (key == "noise") return ToDouble(value, r.noise, 0);
    if (key == "over") return ToInt(value, r.overEvery, 0, 1 << 30);
    if (key == "miss") return ToInt(value, r.missEvery, 0, 1 << 30);
    if (key == "rate") return ToDouble(value, r.pulseRate, 0);
    if (key == "ready") return ToDouble(value, r.readyDelay, 0);
    if (key == "delay") return ToDouble(value, r.pulseDelay, 0);
    known = false;
    return false;
}

bool ParseHead(const QString& text, HeadSpec& h, QString& error) {
    for (const auto& [key, value] : KeyValues(text)) {
        bool ok = true, known = true;
        if (key == "type")
            ok = ToInt(value, h.type, 0, 6);
        else if (key == "name")
            h.name = value.left(12);
        else if (key == "serial") {
            bool good = false;
            qulonglong s = value.toULongLong(&good);
            ok = good && s <= 0xFFFFFFFFull;
            if (ok) h.serial = quint32(s);
        } else if (key == "unit")
            h.unit = value;
        else if (key == "rapid")
            h.rapidPulse = true;
        else if (key == "code")
            h.korvenCode = value.toUpper();
        else
            ok = ParseReading(key, value, h.reading, known);
        if (!known) {
            error = "unknown head setting: " + key;
            return false;
        }
        if (!ok) {
            error = "bad head setting: " + key + "=" + value;
            return false;
        }
    }
    return true;
}

bool ParseLog(const QString& text, StoredLog& log, QString& error) {
    int count = -1;
    for (const auto& [key, value] : KeyValues(text)) {
        bool ok = true;
        if (key == "file")
            ok = ToInt(value, log.file, 0, 10);
        else if (key == "unit")
            log.unit = value;
        else if (key == "exp")
            ok = ToInt(value, log.exponent, -99, 99);
        else if (key == "expb")
            ok = ToInt(value, log.exponentB, -99, 99);
        else if (key == "interval")
            ok = ToInt(value, log.interval, 0, 1 << 20);
        else if (key == "fullscale")
            ok = ToInt(value, log.fullScale, 1, 99999);
        else if (key == "fullscaleb")
            ok = ToInt(value, log.fullScaleB, 1, 99999);
        else if (key == "dual")
            log.dual = true;
        else if (key == "missing")
            log.missingPulseDetection = true;
        else if (key == "heada")
            log.headA = value;
        else if (key == "seriala")
            log.serialA = value;
        else if (key == "headb")
            log.headB = value;
        else if (key == "serialb")
            log.serialB = value;
        else if (key == "count")
            ok = ToInt(value, count, 0, 1000000);
        else if (key == "values") {
            log.mantissas.clear();
            for (const QString& v : value.split(':', Qt::SkipEmptyParts)) {
                int m = 0;
                ok = ok && ToInt(v, m, -99999, 99999);
                log.mantissas << m;
            }
        } else {
            error = "unknown log setting: " + key;
            return false;
        }
        if (!ok) {
            error = "bad log setting: " + key + "=" + value;
            return false;
        }
    }
    if (count >= 0) {
        // A ramp that stays below the full scale.
        log.mantissas.clear();
        for (int i = 0; i < count; ++i) log.mantissas << 100 + (i * 37) % 800;
    }
    return true;
}

}  // namespace

QString UsageText() {
    return QStringLiteral(
               "kelvaro-meter-sim: a laser power/energy meter on a pseudo-terminal.\n"
               "Prints the terminal's path on the first line, then serves until killed.\n\n"
               "  --model NAME            %1 (or 0..8)\n"
               "  --firmware TEXT         version text after the model code in the \"VE\" reply\n"
               "  --baud N                the meter's line speed (19200)\n"
               "  --instant               reply at once instead of at the line's character rate\n"
               "  --head-a SETTINGS       head on channel A, --head-b on channel B; SETTINGS is a\n"
               "  --head-b SETTINGS       comma list: type=0..6, name=TEXT, serial=N, unit=W|J|Lx|Fc|A|V,\n"
               "                          rapid, code=KORVEN-CODE (QX450, UC, ...), value=X, noise=F,\n"
               "                          over=N (every n-th reading OVER), rate=PULSES/S, ready=SECONDS,\n"
               "                          miss=N (every n-th \"SB\" power reply N for this channel)\n"
               "                          delay=SECONDS (pulses that much later than on the other channel)\n"
               "  --refuse CMD            answer CMD (a command word or a whole command) with \"?\"\n"
               "  --strict-modes          refuse readings outside their measurement mode\n"
               "  --log SETTINGS          a stored log: file=0..10, unit=W|J|RP_, exp=N, expb=N,\n"
               "                          interval=N (1/30 s), fullscale=N, fullscaleb=N, dual, missing,\n"
               "                          heada=, seriala=, headb=, serialb=, count=N or values=M:M:...\n"
               "  --silent                never answer\n"
               "  --garbage               answer noise without line ends\n"
               "  --split N               send every reply in N chunks\n"
               "  --chunk-gap SECONDS     pause between chunks (0.005)\n"
               "  --delay SECONDS         pause before every reply (0)\n"
               "  --bad-blocks N          corrupt the first N log data blocks\n"
               "  --seed N                noise generator seed\n"
               "  --ports-file DIR        write \"COM<n> <path>\" into DIR/kelvaro.ports (needs --com)\n"
               "  --com N                 the COM number for --ports-file (1..16)\n"
               "  --exit-when-idle SECS   exit after SECS without input from the program\n"
               "  --link PATH             make PATH a symbolic link to the terminal (a fixed name\n"
               "                          across restarts, as a replugged USB meter's)\n"
               "  --record FILE           append \"<command> TAB <reply>\" for every command answered\n"
               "  --help                  this text\n")
        .arg(ModelNames().join(", "));
}

bool ParseOptions(const QStringList& args, SimOptions& out, QString& error) {
    MeterConfig& m = out.meter;
    bool headsGiven = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& opt = args[i];
        auto value = [&](QString& v) {
            if (i + 1 >= args.size()) {
                error = opt + " needs a value";
                return false;
            }
            v = args[++i];
            return true;
        };
        QString v;
        bool ok = true;
        if (opt == "--help" || opt == "-h")
            out.help = true;
        else if (opt == "--silent")
            m.faults.silent = true;
        else if (opt == "--garbage")
            m.faults.garbage = true;
        else if (opt == "--strict-modes")
            m.strictModes = true;
        else if (opt == "--instant")
            m.lineTiming = false;
        else if (!value(v))
            return false;
        else if (opt == "--model")
            ok = ModelFromText(v, m.model);
        else if (opt == "--firmware")
            m.firmware = v;
        else if (opt == "--baud")
            ok = ToInt(v, m.baud, 1, 4000000);
        else if (opt == "--head-a" || opt == "--head-b") {
            headsGiven = true;
            if (!ParseHead(v, m.heads[opt == "--head-b" ? 1 : 0], error)) return false;
        } else if (opt == "--refuse")
            m.refused.insert(v.simplified().toUpper());
        else if (opt == "--log") {
            StoredLog log;
            if (!ParseLog(v, log, error)) return false;
            m.logs << log;
        } else if (opt == "--split")
            ok = ToInt(v, m.faults.splitChunks, 1, 1000);
        else if (opt == "--chunk-gap")
            ok = ToDouble(v, m.faults.chunkGap, 0);
        else if (opt == "--delay")
            ok = ToDouble(v, m.faults.delay, 0);
        else if (opt == "--bad-blocks")
            ok = ToInt(v, m.faults.badBlocks, 0, 1 << 20);
        else if (opt == "--seed") {
            int s = 0;
            ok = ToInt(v, s, 0, 1 << 30);
            m.seed = quint32(s);
        } else if (opt == "--link")
            out.linkPath = v;
        else if (opt == "--record")
            out.recordPath = v;
        else if (opt == "--ports-file")
            out.portsDir = v;
        else if (opt == "--com")
            ok = ToInt(v, out.com, 1, 16);
        else if (opt == "--exit-when-idle")
            ok = ToDouble(v, out.exitWhenIdle, 0);
        else {
            error = "unknown option: " + opt;
            return false;
        }
        if (!ok) {
            error = "bad value for " + opt + ": " + v;
            return false;
        }
    }
    if (!out.portsDir.isEmpty() && out.com == 0) {
        error = "--ports-file needs --com";
        return false;
    }
    if (!headsGiven) {
        // A thermopile on channel A unless told otherwise.
        m.heads[0].type = 1;
        m.heads[0].name = "3A";
        m.heads[0].serial = 123456;
    }
    return true;
}

QString WithPortEntry(const QString& portsText, int com, const QString& path) {
    QStringList lines = portsText.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    QRegularExpression same(QString("^\\s*COM%1\\s").arg(com), QRegularExpression::CaseInsensitiveOption);
    QStringList kept;
    for (const QString& line : lines)
        if (!same.match(line + " ").hasMatch()) kept << line;
    kept << QString("COM%1 %2").arg(com).arg(path);
    return kept.join('\n') + '\n';
}

}  // namespace sim
