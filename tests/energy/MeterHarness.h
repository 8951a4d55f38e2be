#pragma once

#include "auxiliary/NotesWindow.h"
#include "data/FileCommand.h"
#include "data/NumberFormat.h"
#include "data/WorkFile.h"
#include "link/MeterIdentity.h"
#include "tests/link/LinkHarness.h"

#include <initializer_list>

// A saved data line: each value padded to 18 characters and a TAB, then the time stamp and CR LF.
inline QByteArray Line(std::initializer_list<QByteArray> values, const QByteArray& time) {
    QByteArray line;
    for (const QByteArray& v : values) line += v + QByteArray(18 - v.size(), ' ') + '\t';
    return line + time + "\r\n";
}

// The link's world with the File menu, "." decimals and a meter identified by UseMeter.
class MeterTest : public LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        SetDecimalSeparator(QStringLiteral("."));
        App().Shell.LogFileOnOffEnable = [](bool) {};
        App().Shell.SaveFile = [] { FileCommand(FileSave); };
    }
    void TearDown() override {
        Notes().ClearNotesBox();
        WorkFile(2, QString());
        SetDecimalSeparator(QString());
        LinkTest::TearDown();
    }
    void UseMeter(const sim::MeterConfig& cfg) {
        if (Meter().Connected) Disconnect();
        ASSERT_TRUE(ConnectTo(cfg));
        IdentifyInstrument();
    }
};
