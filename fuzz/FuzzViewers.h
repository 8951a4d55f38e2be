#pragma once

// For the fuzz targets that feed the program's own viewer windows.

#include "viewers/EnergyViewers.h"
#include "viewers/PowerViewers.h"
#include "viewers/Viewers.h"

#include <QApplication>
#include <QMdiArea>
#include <array>

// The font library's caches and Qt's cache of font engines, made when the
// first window is laid out, live as long as the process: no leak of ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\nleak:QFontDatabasePrivate::load\n";
}

// A widget application on the offscreen platform; made before
// InstallQuietPlatform, which then keeps it.
inline void MakeWindowApplication(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
}

// The real viewers, made once in an area of their own. The area is never
// destroyed: at exit the font cache its windows use is gone before it.
inline const std::array<StoredDataViewer*, kViewerKinds>& RealViewers() {
    static QMdiArea* const area = new QMdiArea;
    static const std::array<StoredDataViewer*, kViewerKinds> viewers = [] {
        InstallPowerViewers(area);
        InstallEnergyViewers(area);
        std::array<StoredDataViewer*, kViewerKinds> made{};
        for (int16_t k = 0; k < kViewerKinds; ++k) made[size_t(k)] = Viewer(k);
        return made;
    }();
    return viewers;
}

// The viewers fed in this run: the real ones or the target's own.
template <class Own>
void UseViewers(bool real, std::array<Own, kViewerKinds>& own) {
    for (int16_t k = 0; k < kViewerKinds; ++k) {
        StoredDataViewer* v = real ? RealViewers()[size_t(k)] : &own[size_t(k)];
        SetViewerFactory(k, [v] { return v; });
    }
}
