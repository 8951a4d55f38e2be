#include "data/ChannelPairing.h"

#include "data/Parsing.h"

namespace {

bool HasValue(const QString& token) {
    return !token.contains(QLatin1Char('N'));
}

}  // namespace

bool ChannelPairing::Take(const QString& tokens, QString& a, QString& b) {
    QString tokenA, tokenB;
    SplitAtFirstSpace(tokens, tokenA, tokenB);
    const bool hasA = HasValue(tokenA);
    const bool hasB = HasValue(tokenB);
    if (hasA && hasB) {
        a = tokenA;
        b = tokenB;
    } else if (hasA) {
        if (ChannelState != 2) {
            PendingA = tokenA;
            ChannelState = 1;
            return false;
        }
        a = tokenA;
        b = PendingB;
    } else if (hasB) {
        if (ChannelState != 1) {
            PendingB = tokenB;
            ChannelState = 2;
            return false;
        }
        a = PendingA;
        b = tokenB;
    } else {
        return false;
    }
    ChannelState = 3;
    return true;
}

void ChannelPairing::Reset() {
    ChannelState = 0;
    PendingA.clear();
    PendingB.clear();
}
