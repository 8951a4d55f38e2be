#pragma once

#include "platform/Surface.h"

#include <QString>
#include <QStringList>
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

    void SetScale(double left, double top, double right, double bottom) override;
    double ScaleLeft() const override { return left_; }
    double ScaleTop() const override { return top_; }
    double ScaleWidth() const override { return width_; }
    double ScaleHeight() const override { return height_; }

    void Clear(int backColor) override;
    void SetForeColor(int color) override;
    void Line(double x1, double y1, double x2, double y2, int color) override;
    void Box(double x1, double y1, double x2, double y2, int color) override;
    void FillBox(double x1, double y1, double x2, double y2, int color) override;
    void Dot(double x, double y, int color) override;

    void SetFontSize(double points) override;
    void SetFontBold(bool bold) override;
    double TextWidth(const QString& text) const override;
    double TextHeight(const QString& text) const override;
    void SetCurrentX(double x) override { currentX_ = x; }
    void SetCurrentY(double y) override { currentY_ = y; }
    double CurrentX() const override { return currentX_; }
    double CurrentY() const override { return currentY_; }
    void Print(const QString& text) override;

    // Recorded calls, optionally only those of one operation.
    std::vector<Call> Calls(const QString& op = QString()) const;
    // The Print call with exactly this text; nullptr when there is none.
    const Call* Printed(const QString& text) const;
    QStringList Texts() const;  // every printed text, in order
    void Forget() { calls_.clear(); }

    std::vector<Call> calls_;

private:
    double left_ = 0, top_ = 0, width_ = 1, height_ = 1;
    double currentX_ = 0, currentY_ = 0;
    double points_ = 8.25;
    int foreColor_ = 0;
};
