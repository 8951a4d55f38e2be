#pragma once

// What every fuzz target shares: the sanitizer's settings and the start.

#include "data/Statistics.h"
#include "platform/Prompts.h"
#include "tests/support/QuietPlatform.h"

#include <QCoreApplication>
#include <QString>
#include <algorithm>
#include <cmath>

// AddressSanitizer keeps freed blocks in a quarantine (256 MB by default) to
// catch use after free. Over millions of short runs those blocks, spread
// over every size class, made the resident memory climb for minutes while
// the program's own memory stayed put. A smaller quarantine still holds
// what many runs free, and the resident memory shows the program's again.
// Allocations keep their whole stack, so that a leak suppression can name
// the function that made it (Qt's libraries keep no frame pointers).
// ASAN_OPTIONS set by hand still take precedence.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=8:fast_unwind_on_malloc=0";
}

// An application object (unless the target made one), and the quiet platform in place of the real one.
inline void InstallQuietPlatform(int* argc, char*** argv, platform::Prompts& prompts, platform::Clock& clock,
                                 platform::SerialPort& port) {
    if (!QCoreApplication::instance()) static QCoreApplication app(*argc, *argv);
    platform::setPrompts(&prompts);
    platform::setClock(&clock);
    platform::setSerialPort(&port);
}

// The logging targets' common check: no statistic may leave the finite numbers.
inline void TrapUnlessFinite(const RunningStats& s) {
    const double values[] = {s.Min, s.Max, s.Sum, s.SumOfSquares, s.Average(), s.StdDev()};
    for (double v : values)
        if (!std::isfinite(v)) __builtin_trap();
}

// Cuts a fuzz input from `pos` on into steps: a control byte, then a text of
// up to 63 bytes whose length is the control's low six bits.
template <class Step>
void ForEachStep(const uint8_t* data, size_t size, size_t pos, Step step) {
    while (pos < size) {
        const uint8_t control = data[pos++];
        const size_t len = std::min<size_t>(control % 64, size - pos);
        QString text = QString::fromLatin1(reinterpret_cast<const char*>(data + pos), qsizetype(len));
        pos += len;
        step(control, text);
    }
}
