#include "automation/ReadingJson.h"

#include "data/Overrange.h"

#include <charconv>
#include <cmath>

namespace {

void Number(std::string& out, double v, bool over) {
    // JSON has no infinities or NaNs; the over-range mark is no number either.
    if (over || !std::isfinite(v)) {
        out += "null";
        return;
    }
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

void Text(std::string& out, const QString& s) {
    out += '"';
    for (const char c : s.toStdString()) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += c;
        }
    }
    out += '"';
}

}  // namespace

std::string ReadingJson(const Reading& r) {
    std::string out = "{\"t\":";
    // Microseconds are more than the clock tells: 0.008, not 0.008000000001629815.
    Number(out, std::round(r.Time * 1e6) / 1e6, false);
    out += ",\"value\":";
    Number(out, r.Value, r.OverRange);
    out += ",\"unit\":";
    Text(out, r.Unit);
    out += ",\"channel\":";
    out += r.ChannelValues ? "\"both\"" : r.Channel == 1 ? "\"B\"" : "\"A\"";
    if (r.ChannelValues) {
        out += ",\"a\":";
        Number(out, (*r.ChannelValues)[0], IsOverrange((*r.ChannelValues)[0]));
        out += ",\"b\":";
        Number(out, (*r.ChannelValues)[1], IsOverrange((*r.ChannelValues)[1]));
        out += ",\"channel_unit\":";
        Text(out, r.ChannelUnit);
    }
    out += '}';
    return out;
}
