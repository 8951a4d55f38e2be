#pragma once

#include "platform/Surface.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// A Surface that draws nothing and records every call with its arguments.
// Text is measured deterministically: each character is 0.18 x the font
// size wide, a line is 0.42 x the font size high (8.25 pt: 1.485 x 3.465).
class RecordingSurface : public platform::Surface {
public:
    struct Call {
        QString op;  // "SetScale", "Clear", "Line", "Box", "FillBox", "Dot", "Print", ...
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        int color = -1;  // drawing colour; for Print the fore colour
        QString text;
    };

    void SetScale(double left, double top, double right, double bottom) override {
        left_ = left;
        top_ = top;
        width_ = right - left;
        height_ = bottom - top;
        Add("SetScale", left, top, right, bottom);
    }
    double ScaleLeft() const override { return left_; }
    double ScaleTop() const override { return top_; }
    double ScaleWidth() const override { return width_; }
    double ScaleHeight() const override { return height_; }

    void Clear(int backColor) override {
        currentX_ = left_;
        currentY_ = top_;
        Add("Clear", 0, 0, 0, 0, backColor);
    }
    void SetForeColor(int color) override { Add("SetForeColor", 0, 0, 0, 0, foreColor_ = color); }
    void Line(double x1, double y1, double x2, double y2, int c) override {
        Add("Line", x1, y1, currentX_ = x2, currentY_ = y2, c);  // a line ends where it was drawn to
    }
    void Box(double x1, double y1, double x2, double y2, int c) override { Add("Box", x1, y1, x2, y2, c); }
    void FillBox(double x1, double y1, double x2, double y2, int c) override {
        Add("FillBox", x1, y1, x2, y2, c);
    }
    void Dot(double x, double y, int c) override { Add("Dot", currentX_ = x, currentY_ = y, x, y, c); }

    void SetFontSize(double points) override { Add("SetFontSize", points_ = points); }
    void SetFontBold(bool bold) override { Add("SetFontBold", bold ? 1.0 : 0.0); }
    double TextWidth(const QString& text) const override { return text.size() * 0.18 * points_; }
    double TextHeight(const QString&) const override { return 0.42 * points_; }
    void SetCurrentX(double x) override { currentX_ = x; }
    void SetCurrentY(double y) override { currentY_ = y; }
    double CurrentX() const override { return currentX_; }
    double CurrentY() const override { return currentY_; }
    void Print(const QString& text) override {
        Add("Print", currentX_, currentY_, 0, 0, foreColor_, text);
        currentY_ += TextHeight(text);
    }

    // Recorded calls, optionally only those of one operation.
    std::vector<Call> Calls(const QString& op = QString()) const {
        std::vector<Call> out;
        for (const auto& c : calls_)
            if (op.isEmpty() || c.op == op) out.push_back(c);
        return out;
    }
    // The Print call with exactly this text; nullptr when there is none.
    const Call* Printed(const QString& text) const {
        for (const auto& c : calls_)
            if (c.op == "Print" && c.text == text) return &c;
        return nullptr;
    }
    QStringList Texts(const std::function<bool(const Call&)>& keep = {}) const {  // printed texts, in order
        QStringList out;
        for (const auto& c : Calls("Print"))
            if (!keep || keep(c)) out << c.text;
        return out;
    }
    void Forget() { calls_.clear(); }

private:
    void Add(const QString& op, double x1 = 0, double y1 = 0, double x2 = 0, double y2 = 0, int color = -1,
             const QString& text = {}) {
        calls_.push_back({op, x1, y1, x2, y2, color, text});
    }
    std::vector<Call> calls_;
    double left_ = 0, top_ = 0, width_ = 1, height_ = 1, currentX_ = 0, currentY_ = 0, points_ = 8.25;
    int foreColor_ = 0;
};
