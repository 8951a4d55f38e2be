#pragma once

#include "meterlogs/LogText.h"
#include "viewers/DataSet.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>

// Download of the logs a meter stored itself, driven by its replies in
// device-file view (ActiveMode 5): the file list and the user's choice, then
// the description and the data blocks, fed line by line to a viewer.

// Sources of the loading window.
enum LoadSource : int16_t {
    SourceTalon2 = 1,
    SourceTalon = 2,
    SourcePcFile = 3,
    SourceMeridel = 4,
    SourceSirka = 5
};

// What the download asks of the windows around it. Unset hooks do nothing
// (AskViewMode unset: cancelled).
struct RetrievalHooks {
    // DataLoadFormShow and DataLoadFormHide of the loading window.
    std::function<void(int16_t source, const QString& caption, const QString& label)> ShowLoadWindow;
    std::function<void()> HideLoadWindow;
    // The loading window's bar: phase -1 prepares it, 0 draws `fraction`, 1 completes it.
    std::function<void(int phase, float fraction)> DrawProgress;
    // GetDualViewMode(kind 0 power / 1 energy, title): -1 cancelled, 0 A, 1 B, 2 ratio, 3 difference.
    std::function<int16_t(int16_t kind, const QString& title)> AskViewMode;
    // MeterLogList.GetFileInx: shows the lines; the window answers with
    // RetrieveLogs(0, line) or RetrieveLogs(1, "").
    std::function<void(const QStringList& choices)> ChooseFile;
    // Lets pending window events run once, between data blocks.
    std::function<void()> LetEventsRun;
};
RetrievalHooks& MeterLogHooks();

// The transfer record of one retrieval.
struct LogTransfer {
    int16_t RetrieveFamily = 0;  // 1 TALON, 2 Meridel or Talon2, 3 Sirka
    int16_t RetrieveStep = 0;    // 0 idle, 2 listing, 3 describing, 4 choosing, 5 TALON, 6 file download
    int16_t FileIndex = 0;
    std::array<QString, 12> LogList;
    QStringList LogChoices;
    int16_t ListResends = 0;  // "LF" sent again for the same file

    int16_t DownloadStep = 0;
    int16_t ReadFailures = 0;
    int32_t PointsExpected = 0;
    int32_t PointsReceived = 0;
    int32_t BlocksExpected = 0;
    int32_t BlocksReceived = 0;
    float SampleInterval = 0;
    bool LogIsEnergy = false;
    bool LogIsDual = false;
    bool RetrieveCancel = false;
    DescriptionFields Fields;
    std::array<int32_t, 5> TalonFields{};
    std::array<int16_t, 2> ExponentCode{};
    std::array<int32_t, 2> OverrangeAt{};  // 110 % of each channel's full scale

    int16_t ViewMode = -1;  // of a two-channel log
    int16_t Receiver = -1;  // ViewerKind of the viewer being fed, -1 none
    std::array<int32_t, 2> ChannelReadings{};
    int32_t Pairs = 0;
    bool HaveChannelA = false;  // a channel A reading waits for its B
    QString ChannelA;

    uint32_t Generation = 0;  // changes when a retrieval starts or ends
    DataSetFacts Facts;       // of the log, told to the viewer as it begins
};
LogTransfer& Transfer();

// -1 start (entering device-file view), 0 a reply line or the chosen
// selection line, 1 the selection window closed without a choice.
void RetrieveLogs(int step, const QString& text);
// Download steps; "cancel retrieve" aborts and closes the receiving viewer.
void RetrieveLogFile(const QString& text);
void RetrieveTalonLog(const QString& text);
// Leaving device-file view: stops any download, hides the loading window and
// closes the viewer named by ViewerKind.
void LeaveDeviceFileView();

// "Data Reading Fail. Retry?": Yes enters device-file view anew, No leaves it.
void AskRetryRead();
// "Sorry, no logged data is available on your " + name + "." and mode 0.
void ReportNoLogs(const QString& deviceName);
// The heads of a two-channel log, for the ratio and difference viewers' files.
DualHeads DualHeadsOf(const QString& nameA, const QString& serialA, const QString& nameB,
                      const QString& serialB);

// Tests start from a fresh record and no hooks.
void ResetMeterLogs();
