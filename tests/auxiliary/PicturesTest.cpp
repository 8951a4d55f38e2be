#include "auxiliary/Pictures.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QImage>

// The icon is drawn, not shipped: every size must come out opaque in its
// middle and transparent in its corners, and is kept for installation.
TEST(Pictures, applicationIconHasEverySizeDrawn) {
    const QString folder = QDir(qEnvironmentVariable("KELVARO_SCREENSHOTS", "screenshots")).filePath("icons");
    QDir().mkpath(folder);
    for (int size : {16, 32, 48, 64, 128, 256}) {
        QImage img = ApplicationIcon().pixmap(size, size).toImage();
        ASSERT_EQ(img.width(), size);
        EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0) << size;
        EXPECT_EQ(qAlpha(img.pixel(size / 2, size / 2)), 255) << size;
        EXPECT_TRUE(img.save(QDir(folder).filePath(QString("%1.png").arg(size))));
    }
    EXPECT_NE(ConnectedPicture(56).toImage(), DisconnectedPicture(56).toImage());
    // Drawn smooth: the plug's edges hold partly covered pixels.
    const QImage plug = ConnectedPicture(56).toImage().convertToFormat(QImage::Format_ARGB32);
    const auto* px = reinterpret_cast<const QRgb*>(plug.constBits());
    EXPECT_TRUE(std::any_of(px, px + 56 * 56, [](QRgb p) { return qAlpha(p) % 255 != 0; }));
}
