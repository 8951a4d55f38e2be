#pragma once

#include "auxiliary/NotesWindow.h"
#include "data/NumberFormat.h"
#include "data/WorkFile.h"
#include "state/AppState.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "viewers/StoredDataViewer.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QPlainTextEdit>
#include <QStringList>

// A fresh state, a point as the decimal separator, and a loader of our own
// that feeds a viewer as the PC-file loader does: the header sets the
// energy flags, notes lines go to the notes, every other line to step 0.
class ViewerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAppState();
        ResetWorkFile();
        SetDecimalSeparator(QStringLiteral("."));
        Notes().ClearNotesBox();
    }
    void TearDown() override {
        Notes().ClearNotesBox();
        WorkFile(2, QString());
        SetDecimalSeparator(QString());
        ResetAppState();
    }
    static void Feed(StoredDataViewer& v, const QString& title, const QStringList& lines) {
        v.Load(-1, title);
        for (const QString& line : lines) v.Load(0, line);
        v.ShowData();
    }
    // The file's lines (header first) into the viewer, as the loader routes them.
    void LoadFile(StoredDataViewer& v, const QString& path) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QStringList lines = QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"));
        if (lines.last().isEmpty()) lines.removeLast();
        ASSERT_FALSE(lines.isEmpty());
        const QString header = lines.takeFirst();
        App().RelativeUnits = header.contains("RP-Units");
        App().MissingPulseDetection = header.contains(",Missing Pulses Detection On,");
        Notes().ClearNotesBox();
        const int head = int(header.indexOf("Head"));
        v.Load(-1, path + (head < 0 ? QString() : "; " + header.mid(head)));
        for (const QString& line : lines) {
            if (line.startsWith('\''))
                Notes().AppendNotesBox(line.mid(1));
            else
                v.Load(0, line);
        }
        v.ShowData();
    }

    ScriptedPrompts prompts;
    TempDir dir;
};
