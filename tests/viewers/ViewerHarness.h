#pragma once

#include "auxiliary/NotesWindow.h"
#include "state/AppState.h"
#include "support/ProgramState.h"
#include "support/ScriptedPrompts.h"
#include "support/SeparatorScope.h"
#include "support/TempDir.h"
#include "viewers/PcFileLoader.h"
#include "viewers/StoredDataViewer.h"
#include "viewers/ViewModeDialog.h"
#include "viewers/Viewers.h"

#include <gtest/gtest.h>
#include <QPlainTextEdit>
#include <QStringList>

// A fresh state and a point as the decimal separator; Feed drives a viewer
// as the PC-file loader does: the title, every line, then the drawing.
class ViewerTest : public ::testing::Test {
protected:
    void SetUp() override {
        FreshProgramState();
        Notes().ClearNotesBox();
    }
    void TearDown() override {
        SetViewModeAnswer({});
        ForgetViewers();
        Notes().ClearNotesBox();
        FreshProgramState();
    }
    static void Feed(StoredDataViewer& v, const QString& title, const QStringList& lines) {
        v.Load(-1, title);
        for (const QString& line : lines) v.Load(0, line);
        v.ShowData();
    }
    // Opens `path` through the PC-file loader into `v`, as view choice `mode` of a dual file.
    static void LoadFile(StoredDataViewer& v, int16_t kind, const QString& path, int16_t mode = 0) {
        SetViewerFactory(kind, [&v] { return &v; });
        SetViewModeAnswer([mode](int16_t, const QString&) { return mode; });
        Notes().ClearNotesBox();
        ASSERT_NE(LoadPcFile(path), 3);
        v.ShowData();
    }

    SeparatorScope point{"."};
    ScriptedPrompts prompts;
    TempDir dir;
};
