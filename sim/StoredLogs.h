#pragma once

#include "sim/Meter.h"

#include <QString>
#include <QStringList>

namespace sim {

// The meter's side of a log download: "LF" lists and opens a file, "LI"
// describes it, "LR" rewinds, "LS" sends the next block of up to 10
// readings, "LL" repeats the last block.
class LogServer {
public:
    // The reply line without its CR LF; "?" for a command this model cannot do.
    QString Answer(const MeterConfig& cfg, const QString& word, const QStringList& args);

private:
    const StoredLog* Current(const MeterConfig& cfg) const;
    QString Describe(const MeterConfig& cfg) const;
    QString Block(const MeterConfig& cfg, int start, bool corrupt) const;

    int file_ = 0;
    int next_ = 0;       // index of the next reading "LS" sends
    int lastStart_ = 0;  // first reading of the last block, for "LL"
    int badSent_ = 0;
};

}  // namespace sim
