#include "sim/StoredLogs.h"

#include "sim/Models.h"

#include <algorithm>

namespace sim {

namespace {

constexpr int kBlockSize = 10;
constexpr int kLastFile = 10;

QString Fixed12(const QString& s) {
    return s.leftJustified(12, ' ', true);
}

// A description word must not contain blanks: the program splits at them.
QString Word(const QString& s) {
    QString w = s.simplified().replace(' ', '_');
    return w.isEmpty() ? QString("0") : w;
}

QString SignedWord(int m) {
    m = std::clamp(m, -99999, 99999);
    return QString::asprintf("%+06d", m);
}

}  // namespace

const StoredLog* LogServer::Current(const MeterConfig& cfg) const {
    if (InfoOf(cfg.model).singleLog) return cfg.logs.isEmpty() ? nullptr : &cfg.logs.front();
    for (const StoredLog& log : cfg.logs)
        if (log.file == file_) return &log;
    return nullptr;
}

QString LogServer::Describe(const MeterConfig& cfg) const {
    const StoredLog* log = Current(cfg);
    StoredLog empty;
    const StoredLog& l = log ? *log : empty;
    int count = log ? l.mantissas.size() : 0;
    bool energy = l.unit.contains('J') || l.unit.contains('_');
    if (InfoOf(cfg.model).singleLog) {
        return QString("* %1 0 0 %2 %3").arg(l.exponent).arg(count).arg(energy ? 0 : l.interval);
    }
    QStringList f;
    f << QString::number(l.exponent) << "0"
      << "0" << QString::number(count) << QString::number(l.interval) << Word(l.unit) << "0"
      << "0";
    QString nameA = Fixed12(l.headA);
    QString nameB = Fixed12(l.dual ? l.headB : QString("NONE"));
    QString tail = QStringList{QString::number(l.fullScale), Word(l.serialA)}.join(' ');
    QString tailB =
        QStringList{QString::number(l.fullScaleB), QString::number(l.exponentB),
                    Word(l.dual ? l.serialB : QString("NONE")), l.missingPulseDetection ? "1" : "0"}
            .join(' ');
    return "* " + f.join(' ') + ' ' + nameA + ' ' + tail + ' ' + nameB + ' ' + tailB;
}

QString LogServer::Block(const MeterConfig& cfg, int start, bool corrupt) const {
    const StoredLog* log = Current(cfg);
    QStringList words;
    if (log) {
        int end = std::min<int>(start + kBlockSize, log->mantissas.size());
        bool talon = InfoOf(cfg.model).singleLog;
        for (int i = start; i < end; ++i) {
            int m = log->mantissas[i];
            words << (talon ? QString::number(m) : SignedWord(m));
        }
        if (corrupt && !words.isEmpty()) {
            if (talon)
                words.removeLast();  // too few readings
            else
                words.last() = words.last().mid(1);  // the sign is lost, after good readings
        }
    }
    return "*" + words.join(' ');
}

QString LogServer::Answer(const MeterConfig& cfg, const QString& word, const QStringList& args) {
    const ModelInfo& info = InfoOf(cfg.model);
    if (!info.logFiles && !info.singleLog) return "?";
    if (word == "LF") {
        if (!info.logFiles || args.size() != 1) return "?";
        bool ok = false;
        int n = args[0].toInt(&ok);
        if (!ok || n < 0 || n > kLastFile) return "?";
        file_ = n;
        next_ = lastStart_ = 0;
        const StoredLog* log = Current(cfg);
        return QString("*%1: %2").arg(n).arg(log ? log->mantissas.size() : 0);
    }
    if (word == "LI") return Describe(cfg);
    if (word == "LR") {
        next_ = lastStart_ = 0;
        return "*";
    }
    if (word == "LS") {
        const StoredLog* log = Current(cfg);
        int size = log ? log->mantissas.size() : 0;
        lastStart_ = std::min(next_, size);
        next_ = std::min(lastStart_ + kBlockSize, size);
        bool corrupt = badSent_ < cfg.faults.badBlocks && next_ > lastStart_;
        if (corrupt) ++badSent_;
        return Block(cfg, lastStart_, corrupt);
    }
    if (word == "LL") return Block(cfg, lastStart_, false);
    return "?";
}

}  // namespace sim
