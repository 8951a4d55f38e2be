#include "RecordingSurface.h"

#include <QStringList>

void RecordingSurface::SetScale(double left, double top, double right, double bottom) {
    left_ = left;
    top_ = top;
    width_ = right - left;
    height_ = bottom - top;
    calls_.push_back({"SetScale", left, top, right, bottom});
}

void RecordingSurface::Clear(int backColor) {
    currentX_ = left_;
    currentY_ = top_;
    calls_.push_back({"Clear", 0, 0, 0, 0, backColor});
}

void RecordingSurface::SetForeColor(int color) {
    foreColor_ = color;
    calls_.push_back({"SetForeColor", 0, 0, 0, 0, color});
}

void RecordingSurface::Line(double x1, double y1, double x2, double y2, int color) {
    currentX_ = x2;
    currentY_ = y2;
    calls_.push_back({"Line", x1, y1, x2, y2, color});
}

void RecordingSurface::Box(double x1, double y1, double x2, double y2, int color) {
    calls_.push_back({"Box", x1, y1, x2, y2, color});
}

void RecordingSurface::FillBox(double x1, double y1, double x2, double y2, int color) {
    calls_.push_back({"FillBox", x1, y1, x2, y2, color});
}

void RecordingSurface::Dot(double x, double y, int color) {
    currentX_ = x;
    currentY_ = y;
    calls_.push_back({"Dot", x, y, x, y, color});
}

void RecordingSurface::SetFontSize(double points) {
    points_ = points;
    calls_.push_back({"SetFontSize", points});
}

void RecordingSurface::SetFontBold(bool bold) {
    calls_.push_back({"SetFontBold", bold ? 1.0 : 0.0});
}

double RecordingSurface::TextWidth(const QString& text) const {
    return text.size() * 0.18 * points_;
}

double RecordingSurface::TextHeight(const QString&) const {
    return 0.42 * points_;
}

void RecordingSurface::Print(const QString& text) {
    calls_.push_back({"Print", currentX_, currentY_, 0, 0, foreColor_, text});
    currentY_ += TextHeight(text);
}

std::vector<RecordingSurface::Call> RecordingSurface::Calls(const QString& op) const {
    if (op.isEmpty()) return calls_;
    std::vector<Call> out;
    for (const auto& c : calls_)
        if (c.op == op) out.push_back(c);
    return out;
}

const RecordingSurface::Call* RecordingSurface::Printed(const QString& text) const {
    for (const auto& c : calls_)
        if (c.op == "Print" && c.text == text) return &c;
    return nullptr;
}

QStringList RecordingSurface::Texts() const {
    QStringList out;
    for (const auto& c : calls_)
        if (c.op == "Print") out << c.text;
    return out;
}
