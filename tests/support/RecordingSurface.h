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
        calls_.push_back({"SetScale", left, top, right, bottom, -1, {}});
    }
    double ScaleLeft() const override { return left_; }
    double ScaleTop() const override { return top_; }
    double ScaleWidth() const override { return width_; }
    double ScaleHeight() const override { return height_; }

    void Clear(int backColor) override {
        currentX_ = left_;
        currentY_ = top_;
        calls_.push_back({"Clear", 0, 0, 0, 0, backColor, {}});
    }
    void SetForeColor(int color) override {
        foreColor_ = color;
        calls_.push_back({"SetForeColor", 0, 0, 0, 0, color, {}});
    }
    void Line(double x1, double y1, double x2, double y2, int color) override {
        currentX_ = x2;
        currentY_ = y2;
        calls_.push_back({"Line", x1, y1, x2, y2, color, {}});
    }
    void Box(double x1, double y1, double x2, double y2, int color) override {
        calls_.push_back({"Box", x1, y1, x2, y2, color, {}});
    }
    void FillBox(double x1, double y1, double x2, double y2, int color) override {
        calls_.push_back({"FillBox", x1, y1, x2, y2, color, {}});
    }
    void Dot(double x, double y, int color) override {
        currentX_ = x;
        currentY_ = y;
        calls_.push_back({"Dot", x, y, x, y, color, {}});
    }

    void SetFontSize(double points) override {
        points_ = points;
        calls_.push_back({"SetFontSize", points, 0, 0, 0, -1, {}});
    }
    void SetFontBold(bool bold) override {
        calls_.push_back({"SetFontBold", bold ? 1.0 : 0.0, 0, 0, 0, -1, {}});
    }
    double TextWidth(const QString& text) const override { return text.size() * 0.18 * points_; }
    double TextHeight(const QString&) const override { return 0.42 * points_; }
    void SetCurrentX(double x) override { currentX_ = x; }
    void SetCurrentY(double y) override { currentY_ = y; }
    double CurrentX() const override { return currentX_; }
    double CurrentY() const override { return currentY_; }
    void Print(const QString& text) override {
        calls_.push_back({"Print", currentX_, currentY_, 0, 0, foreColor_, text});
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
        for (const auto& c : calls_)
            if (c.op == "Print" && (!keep || keep(c))) out << c.text;
        return out;
    }
    void Forget() { calls_.clear(); }

    std::vector<Call> calls_;

private:
    double left_ = 0, top_ = 0, width_ = 1, height_ = 1;
    double currentX_ = 0, currentY_ = 0;
    double points_ = 8.25;
    int foreColor_ = 0;
};
