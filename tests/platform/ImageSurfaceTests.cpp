#include "platform/ImageSurface.h"
#include "platform/Palette.h"

#include <gtest/gtest.h>
#include <cmath>

using platform::ImageSurface;
using platform::PaletteColor;

TEST(ImageSurface, userUnitsMapOntoTheWholeImageAlsoAfterAResize) {
    ImageSurface surface(QSize(400, 200), 1.0);
    surface.SetScale(0, 0, 100, 50);
    surface.Clear(15);
    surface.FillBox(10, 10, 20, 20, 4);
    const QImage& image = surface.Image();
    for (auto [x, y, color] : {std::tuple{40, 40, 4}, {79, 79, 4}, {39, 40, 15}, {80, 79, 15}})
        EXPECT_EQ(image.pixelColor(x, y), PaletteColor(color)) << x << "," << y;
    EXPECT_EQ(surface.ToUser(QPointF(200, 100)), QPointF(50, 25));
    surface.Resize(QSize(200, 50), 1.0);
    EXPECT_EQ(surface.Image().pixelColor(10, 10), QColor(Qt::white));  // blank
    surface.FillBox(50, 0, 100, 50, 2);
    EXPECT_EQ(surface.Image().pixelColor(100, 25), PaletteColor(2));
    EXPECT_EQ(surface.Image().pixelColor(99, 25), QColor(Qt::white));
}

TEST(ImageSurface, thinAxisLinesStaySharpAtAnyPixelRatio) {
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
            if (c != PaletteColor(1)) EXPECT_EQ(c, PaletteColor(7)) << dpr;
        }
        EXPECT_EQ(marked, std::max(1, int(std::lround(dpr)))) << dpr;
    }
}

TEST(ImageSurface, textMeasuresTheSameInUserUnitsAtEveryPixelRatio) {
    ImageSurface low(QSize(400, 200), 1.0), high(QSize(400, 200), 2.0);
    for (ImageSurface* s : {&low, &high}) {
        s->SetScale(0, 0, 100, 50);
        s->SetFontSize(8.25);
    }
    EXPECT_GT(low.TextWidth("Power, mW"), 5);
    EXPECT_NEAR(low.TextWidth("Power, mW"), high.TextWidth("Power, mW"), 0.5);
    EXPECT_NEAR(low.TextHeight("X"), high.TextHeight("X"), 0.3);
    // Print moves down one line and keeps the column.
    low.SetCurrentX(3);
    low.SetCurrentY(4);
    low.Print("500.0");
    EXPECT_DOUBLE_EQ(low.CurrentX(), 3);
    EXPECT_NEAR(low.CurrentY(), 4 + low.TextHeight("500.0"), 1e-9);
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

TEST(ImageSurface, drawingReportsTheAreaItChanged) {
    ImageSurface surface(QSize(200, 100), 1.0);
    surface.SetScale(0, 0, 100, 50);
    surface.TakeDirty();
    QRect reported;
    surface.Changed = [&](const QRect& r) { reported = reported.united(r); };
    surface.Line(10, 10, 20, 15, 14);
    QRect dirty = surface.TakeDirty();
    EXPECT_TRUE(dirty.contains(QRect(QPoint(20, 20), QPoint(40, 30))));
    EXPECT_LT(dirty.width(), 40);  // only around the line, not the whole image
    EXPECT_EQ(reported, dirty);
    EXPECT_TRUE(surface.TakeDirty().isNull());
}
