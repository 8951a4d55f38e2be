#pragma once

#include "state/AppState.h"
#include "viewers/StoredDataViewer.h"

#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

// A viewer that keeps what it is fed and names itself in ViewerKind, as the
// real ones do; `onLine` runs after each data line with their count.
struct RecordingViewer : StoredDataViewer {
    explicit RecordingViewer(int16_t k = 0) : kind(k) {}
    void Load(int step, const QString& text) override {
        calls.push_back({step, text});
        if (step == 0) {
            lines << text;
            if (onLine) onLine(int(lines.size()));
            return;
        }
        App().ViewerKind = step == -1 ? kind : int16_t(-1);
        if (step == 1) return void(++closes);
        title = text;
        lines.clear();
    }
    void ShowData() override { ++shows; }
    void DataSave(const QString&) override {}
    void Print() override {}
    int16_t kind;
    std::vector<std::pair<int, QString>> calls;  // load step, text
    QString title;
    QStringList lines;
    int shows = 0, closes = 0;
    std::function<void(int lines)> onLine;
};
