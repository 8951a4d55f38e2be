#include "platform/ImageSurface.h"
#include "platform/Palette.h"

#include <gtest/gtest.h>
#include <cmath>

using platform::ImageSurface;
using platform::PaletteColor;

TEST(ImageSurface, userUnitsCoverTheImageAlsoAfterAResizeAndDrawingReportsWhatItChanged) {
    ImageSurface surface(QSize(400, 200), 1.0);
    surface.SetScale(0, 0, 100, 50);
    surface.Clear(15);
    surface.TakeDirty();
    QRect reported;
    surface.Changed = [&](const QRect& r) { reported = reported.united(r); };
    surface.FillBox(10, 10, 20, 20, 4);
    const QRect dirty = surface.TakeDirty();
    EXPECT_TRUE(dirty.contains(QRect(40, 40, 40, 40)) && dirty.width() < 60) << "only around the box";
    EXPECT_TRUE(reported == dirty && surface.TakeDirty().isNull());
    for (auto [x, y, color] : {std::tuple{40, 40, 4}, {79, 79, 4}, {39, 40, 15}, {80, 79, 15}})
        EXPECT_EQ(surface.Image().pixelColor(x, y), PaletteColor(color)) << x << "," << y;
    surface.Clear(15);  // shown again whole
    EXPECT_EQ(surface.TakeDirty(), QRect(0, 0, 400, 200));
    EXPECT_EQ(surface.ToUser(QPointF(200, 100)), QPointF(50, 25));
    surface.Resize(QSize(200, 50), 1.0);
    surface.FillBox(50, 0, 100, 50, 2);
    EXPECT_EQ(surface.Image().pixelColor(100, 25), PaletteColor(2));
    EXPECT_EQ(surface.Image().pixelColor(99, 25), QColor(Qt::white));  // blank after the resize
}

// Thin axis lines stay sharp and text keeps its size in user units at every pixel ratio.
TEST(ImageSurface, highPixelRatioKeepsThinLinesSharpAndTextTheSameSize) {
    double width1 = 0, height1 = 0;  // at ratio 1
    for (double dpr : {1.0, 1.5, 2.0}) {
        ImageSurface surface(QSize(100, 100), dpr);
        surface.SetScale(0, 0, 25, 25);
        surface.Clear(1);
        surface.Line(2, 10.3, 20, 10.3, 7);  // lands between pixels
        const QImage image = surface.Snapshot();
        int marked = 0;  // pixels off the background in one column, all of them in the line's colour
        for (int y = 0; y < image.height(); ++y) {
            const QColor c = image.pixelColor(int(10 * 4 * dpr), y);
            marked += c != PaletteColor(1);
            EXPECT_TRUE(c == PaletteColor(1) || c == PaletteColor(7)) << dpr << " at " << y;
        }
        EXPECT_EQ(marked, std::max(1, int(std::lround(dpr)))) << dpr;

        surface.SetFontSize(8.25);
        const double width = surface.TextWidth("Power, mW"), height = surface.TextHeight("X");
        if (dpr == 1.0) std::tie(width1, height1) = std::pair(width, height);
        EXPECT_TRUE(width > 5 && std::abs(width - width1) < 0.5) << dpr << ": " << width << " " << width1;
        EXPECT_NEAR(height, height1, 0.3) << dpr;
        surface.SetCurrentX(3);
        surface.SetCurrentY(4);
        surface.Print("500.0");  // moves down one line and keeps the column
        EXPECT_NE(surface.Snapshot(), image) << "the text drawn at " << dpr;
        EXPECT_EQ(QPointF(surface.CurrentX(), surface.CurrentY()),
                  QPointF(3, 4 + surface.TextHeight("500.0")));
    }
}

TEST(ImageSurface, degenerateScalesAndCoordinatesDrawNothing) {
    ImageSurface surface(QSize(50, 50), 1.0);
    surface.Clear(1);
    const QImage before = surface.Snapshot();
    surface.SetScale(0, 0, 0, 0);
    surface.Print("text");
    EXPECT_EQ(surface.TextWidth("text"), 0);
    surface.SetScale(0, 0, 10, 10);
    surface.Line(std::nan(""), 1, 5, 5, 14);
    surface.Box(1, 1, INFINITY, 5, 14);
    surface.Dot(1, -INFINITY, 14);
    EXPECT_EQ(surface.Snapshot(), before);
}
