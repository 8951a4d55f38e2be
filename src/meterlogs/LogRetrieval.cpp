#include "meterlogs/LogRetrieval.h"

#include "data/NumberFormat.h"
#include "data/PcFileFormat.h"
#include "link/LinkState.h"
#include "link/MeterIdentity.h"
#include "link/Transaction.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "state/AppState.h"
#include "state/StateReset.h"
#include "viewers/DataSet.h"
#include "viewers/StoredDataViewer.h"
#include "viewers/Viewers.h"

namespace {

LogTransfer g;
RetrievalHooks g_hooks;

constexpr int kBlockSize = 10;
constexpr int kLastListIndex = 11;  // the "LF" after file 10 ends the list
constexpr int16_t kListResendLimit = 3;
constexpr int16_t kBadBlockLimit = 3;
const QString kCancel = QStringLiteral("cancel retrieve");

void Send(const QString& command) {
    SendCommand(platform::serialPort(), command, kQueryTimeout, true);
}

void SendFileCommand(int index) {
    Send(QStringLiteral("LF  ") + QString::number(index));
}

void SwitchTo(int16_t mode) {
    if (App().Shell.SwitchMode) App().Shell.SwitchMode(mode);
}

QString DeviceName() {
    return Meter().ModelName();
}

void Progress(int phase, float fraction) {
    if (g_hooks.DrawProgress) g_hooks.DrawProgress(phase, fraction);
}

StoredDataViewer* Receiver() {
    return g.Receiver >= 0 ? Viewer(g.Receiver) : nullptr;
}

void Feed(const QString& line) {
    if (StoredDataViewer* v = Receiver()) v->Load(0, line);
}

// The reply after its marker and one more character, without its CR.
QString AfterMarker(const QString& reply) {
    QString t = reply.mid(2);
    if (t.endsWith(QLatin1Char('\r'))) t.chop(1);
    return t;
}

// The data words of a block: the text after its first "*".
QStringList BlockWords(const QString& reply) {
    QStringList words;
    const qsizetype star = reply.indexOf(QLatin1Char('*'));
    if (star < 0) return words;
    qsizetype start = -1;
    for (qsizetype i = star + 1; i <= reply.size(); ++i) {
        const bool gap = i == reply.size() || reply[i] == QLatin1Char(' ') || reply[i] == QLatin1Char('\r') ||
                         reply[i] == QLatin1Char('\n');
        if (!gap && start < 0) start = i;
        if (gap && start >= 0) {
            words << reply.mid(start, i - start);
            start = -1;
        }
    }
    return words;
}

void ClearDownload() {
    const uint32_t generation = g.Generation;
    const std::array<QString, 12> list = g.LogList;
    const int16_t family = g.RetrieveFamily;
    g = LogTransfer{};
    g.Generation = generation + 1;
    g.LogList = list;
    g.RetrieveFamily = family;
}

void FailDialogue() {
    ClearDownload();
    AskRetryRead();
}

// --- File list ---------------------------------------------------------

void EndOfList() {
    SetBusyCursor(false);
    g.LogChoices.clear();
    for (int i = 0; i < kLastListIndex; ++i)
        if (!g.LogList[size_t(i)].isEmpty()) g.LogChoices << g.LogList[size_t(i)];
    g.RetrieveStep = 4;
    if (g.LogChoices.isEmpty())
        ReportNoLogs(DeviceName());
    else if (g_hooks.ChooseFile)
        g_hooks.ChooseFile(g.LogChoices);
}

void ListReply(const QString& reply) {
    if (!reply.contains(QLatin1Char('*'))) {
        if (g.FileIndex >= kLastListIndex) return EndOfList();
        // A meter that refuses again and again must not keep the list going for ever.
        if (++g.ListResends > kListResendLimit) return FailDialogue();
        return SendFileCommand(g.FileIndex);
    }
    const QString first = FirstWord(reply);
    if (!first.contains(QString::number(g.FileIndex) + QLatin1Char(':'))) return FailDialogue();
    if (g.FileIndex >= kLastListIndex) return EndOfList();
    g.ListResends = 0;
    int32_t size = 0;
    TryParseWhole(reply.mid(first.size()), size);
    if (size != 0) {
        g.RetrieveStep = 3;
        Send(QStringLiteral("LI"));
        return;
    }
    SendFileCommand(++g.FileIndex);
}

void DescribeReply(const QString& reply) {
    if (!reply.contains(QLatin1Char('*'))) return FailDialogue();
    if (g.FileIndex < 0 || g.FileIndex >= kLastListIndex) return EndOfList();
    g.LogList[size_t(g.FileIndex)] = LogListLine(g.FileIndex, CutDescription(AfterMarker(reply)));
    g.RetrieveStep = 2;
    SendFileCommand(++g.FileIndex);
}

void OpenChosen(const QString& line) {
    for (int i = 0; i < kLastListIndex; ++i) {
        if (g.LogList[size_t(i)].isEmpty() || g.LogList[size_t(i)] != line) continue;
        g.FileIndex = int16_t(i);
        g.RetrieveStep = 6;
        g.DownloadStep = 0;
        SendFileCommand(i);
        return;
    }
}

void Start() {
    if (!Meter().Connected) return;
    ClearDownload();
    g.LogList.fill(QString());
    g.RetrieveFamily = 0;
    switch (Meter().DeviceType) {
        case MeterModel::Talon:
            g.RetrieveFamily = 1;
            g.RetrieveStep = 5;
            RetrieveTalonLog(QString());
            return;
        case MeterModel::MeridelOne:
        case MeterModel::MeridelTwo:
        case MeterModel::Talon2:
        case MeterModel::Sirka:
            g.RetrieveFamily = Meter().DeviceType == MeterModel::Sirka ? 3 : 2;
            g.RetrieveStep = 2;
            g.FileIndex = 0;
            SendFileCommand(0);
            SetBusyCursor(true);
            return;
        default:
            return;
    }
}

// --- Download ----------------------------------------------------------

void FailDownload() {
    ClearDownload();
    AskRetryRead();
}

void BeginViewer(int16_t kind, const QString& title) {
    g.Receiver = kind;
    DescribeDataSet(g.Facts);
    if (StoredDataViewer* v = Receiver()) v->Load(-1, title);
}

// Counters and the receiving viewer go; later replies find nothing to do.
void CancelDownload() {
    StoredDataViewer* receiver = Receiver();
    ClearDownload();
    g.RetrieveCancel = true;
    if (!receiver) return;
    Progress(1, 1.0f);
    receiver->Load(1, QString());
}

// After every reply: the last block shows the log.
void CheckEnd() {
    if (g.BlocksReceived != g.BlocksExpected || g.BlocksExpected == 0) return;
    StoredDataViewer* v = Receiver();
    g.DownloadStep = 0;
    g.RetrieveStep = 0;
    g.Receiver = -1;
    if (v) v->ShowData();
    if (App().Shell.ConnectEnable) App().Shell.ConnectEnable(true);
    Progress(1, 1.0f);
    if (g_hooks.HideLoadWindow) g_hooks.HideLoadWindow();
}

// Lets the loading window's Cancel run; false when it (or anything else)
// ended this download meanwhile.
bool StillRunning() {
    const uint32_t generation = g.Generation;
    if (g_hooks.LetEventsRun) g_hooks.LetEventsRun();
    return !g.RetrieveCancel && generation == g.Generation;
}

// After "LR": the blocks of `points` readings are asked for from the first.
void BeginBlocks(int32_t points) {
    g.DownloadStep = 3;
    g.PointsExpected = points;
    g.BlocksExpected = BlocksFor(points);
    g.PointsReceived = g.BlocksReceived = g.Pairs = 0;
    g.ReadFailures = 0;
    g.ChannelReadings = {};
    g.HaveChannelA = false;
    Send(QStringLiteral("LS"));
}

void EndOfBlock() {
    Progress(0, g.PointsExpected > 0 ? float(g.PointsReceived) / float(g.PointsExpected) : 1.0f);
    if (++g.BlocksReceived < g.BlocksExpected) Send(QStringLiteral("LS"));
    CheckEnd();
}

QString TimedText(const QString& reading, int32_t number) {
    return g.LogIsEnergy ? reading : PowerLine(reading, number, g.SampleInterval);
}

// Reading `position` of the whole log to the viewer in the shape its view needs.
void Route(int32_t position, const QString& reading) {
    if (!g.LogIsDual) return Feed(TimedText(reading, position));
    const int channel = position % 2;
    if (g.ViewMode == 0 || g.ViewMode == 1) {
        const int32_t number = g.ChannelReadings[size_t(channel)]++;
        if (channel == g.ViewMode) Feed(TimedText(reading, number));
        return;
    }
    // Pairs in arrival order, so a block may end between A and B.
    if (channel == 0) {
        g.ChannelA = reading;
        g.HaveChannelA = true;
        return;
    }
    if (!g.HaveChannelA) return;
    g.HaveChannelA = false;
    QString line = g.ChannelA + QLatin1Char('\t') + reading;
    if (!g.LogIsEnergy)
        line += QLatin1Char('\t') + SingleText(float(double(g.Pairs) * double(g.SampleInterval)));
    ++g.Pairs;
    Feed(line);
}

void MeridelBlock(const QString& reply) {
    if (!StillRunning()) return;
    const QStringList words = BlockWords(reply);
    QStringList readings;
    int32_t position = g.PointsReceived;
    for (int k = 0; k < kBlockSize && position < g.PointsExpected; ++k, ++position) {
        const size_t channel = g.LogIsDual ? size_t(position % 2) : 0;
        QString text;
        if (k >= words.size() ||
            !MeridelReadingText(words[k], g.ExponentCode[channel], g.OverrangeAt[channel], text)) {
            // Nothing of a bad block is kept: the meter sends it again.
            if (++g.ReadFailures < kBadBlockLimit)
                Send(QStringLiteral("LL"));
            else
                FailDownload();
            return;
        }
        readings << text;
    }
    for (const QString& text : readings) Route(g.PointsReceived++, text);
    EndOfBlock();
}

QString HeadTitle(const QString& name, const QString& serial) {
    return QStringLiteral("Head: ") + name.trimmed() + QStringLiteral("; s/n: ") + serial.trimmed();
}

QString BothHeadsTitle(const DescriptionFields& f) {
    return QStringLiteral("Head A: ") + f[8].trimmed() + QStringLiteral("; s/n: ") + f[10].trimmed() +
           QStringLiteral("; Head B: ") + f[11].trimmed() + QStringLiteral("; s/n: ") + f[14].trimmed();
}

QString LoadCaption(const DescriptionFields& f) {
    const QString a = f[8].trimmed() + QStringLiteral(": s/n: ") + f[10].trimmed();
    const QString b = f[11].trimmed() + QStringLiteral(": s/n: ") + f[14].trimmed();
    if (g.LogIsDual && g.ViewMode == 1) return QStringLiteral("Channel 'B'. Head type: ") + b;
    if (g.LogIsDual && g.ViewMode >= 2)
        return QStringLiteral("Head 'A': ") + a + QStringLiteral("; Head 'B': ") + b;
    return QStringLiteral("Channel 'A'. Head type: ") + a;
}

int16_t MeridelSource() {
    switch (Meter().DeviceType) {
        case MeterModel::Talon2:
            return SourceTalon2;
        case MeterModel::Sirka:
            return SourceSirka;
        default:
            return SourceMeridel;
    }
}

// Chooses the viewer and begins its record; false when the user cancelled
// the view mode.
bool BeginMeridelViewer(const DescriptionFields& f) {
    // The viewer's caption names the meter file, so several downloads are told apart.
    const QString file =
        (g.FileIndex == 0 ? QStringLiteral("Temp") : QStringLiteral("File ") + QString::number(g.FileIndex)) +
        QStringLiteral("; ");
    g.ViewMode = -1;
    if (g.LogIsDual && g_hooks.AskViewMode)
        g.ViewMode = g_hooks.AskViewMode(g.LogIsEnergy ? 1 : 0, DeviceName() + QStringLiteral(" File"));
    // The same viewer as for a PC file of this kind; none for a cancelled
    // or impossible view mode.
    const int16_t kind = ReceivingViewer(g.LogIsEnergy ? LoadEnergy : LoadPower, g.LogIsDual, g.ViewMode);
    if (kind < 0) return false;
    if (g.ViewMode < 2) {
        BeginViewer(kind, file + (g.ViewMode == 1 ? HeadTitle(f[11], f[14]) : HeadTitle(f[8], f[10])));
        return true;
    }
    if (!g.LogIsEnergy) g.Facts.Heads = DualHeadsOf(f[8], f[10], f[11], f[14]);
    BeginViewer(kind, file + BothHeadsTitle(f));
    return true;
}

void MeridelDescription(const QString& reply) {
    const DescriptionFields f = CutDescription(AfterMarker(reply));
    g.Fields = f;
    if (Link().FirmwareVersion >= 1.9) {
        int32_t flag = 0;
        g.Facts.MissingPulseDetection = TryParseWhole(f[15], flag) && flag != 0;
    }
    g.Facts.Units.RelativeEnergy = f[5].contains(QLatin1Char('_'));
    int32_t count = 0;
    if (!TryParseWhole(f[3], count) || count < 1) {
        ClearDownload();
        ReportNoLogs(DeviceName());
        return;
    }
    g.LogIsDual = !f[11].contains(QStringLiteral("NONE"));
    g.LogIsEnergy = f[5].contains(QLatin1Char('J')) || f[5].contains(QLatin1Char('_'));
    for (const auto& [channel, field] : {std::pair{0, 0}, std::pair{1, 13}}) {
        int32_t code = 3;
        TryParseWhole(f[size_t(field)], code);
        g.ExponentCode[size_t(channel)] = int16_t(code);
    }
    if (!g.LogIsEnergy) {
        int32_t interval = 0;
        TryParseWhole(f[4], interval);
        g.SampleInterval = float(interval) / 30.0f;
        g.Facts.Units.BaseUnit = UnitFromSymbolText(f[5]);
    }
    if (!BeginMeridelViewer(f)) {
        // Nothing more is asked or downloaded.
        ClearDownload();
        g.RetrieveCancel = true;
        return;
    }
    for (const auto& [channel, field] : {std::pair{0, 9}, std::pair{1, 12}}) {
        int32_t fullScale = 0;
        TryParseWhole(f[size_t(field)], fullScale);
        g.OverrangeAt[size_t(channel)] = OverrangeCount(fullScale);
    }
    Progress(-1, 0.0f);
    g.DownloadStep = 2;
    Send(QStringLiteral("LR"));
}

}  // namespace

RetrievalHooks& MeterLogHooks() {
    return g_hooks;
}

LogTransfer& Transfer() {
    return g;
}

void RetrieveLogs(int step, const QString& text) {
    if (step == -1) return Start();
    if (step == 1) {
        g.RetrieveStep = 0;
        SwitchTo(ModeNone);
        return;
    }
    switch (g.RetrieveStep) {
        case 2:
            return ListReply(text);
        case 3:
            return DescribeReply(text);
        case 4:
            return OpenChosen(text);
        case 5:
            return RetrieveTalonLog(text);
        case 6:
            return RetrieveLogFile(text);
        default:
            return;
    }
}

void RetrieveLogFile(const QString& text) {
    if (text.contains(kCancel)) return CancelDownload();
    const bool acknowledged = text.contains(QLatin1Char('*'));
    switch (g.DownloadStep) {
        case 0: {
            // A refused open would otherwise leave the view waiting for nothing.
            if (!acknowledged) return FailDownload();
            const int16_t file = g.FileIndex;
            ClearDownload();
            g.RetrieveStep = 6;
            g.FileIndex = file;
            g.DownloadStep = 1;
            Send(QStringLiteral("LI"));
            return;
        }
        case 1:
            if (!acknowledged) return FailDownload();
            return MeridelDescription(text);
        case 2: {
            if (!acknowledged) return FailDownload();
            int32_t points = 0;
            TryParseWhole(g.Fields[3], points);
            BeginBlocks(points);
            if (g_hooks.ShowLoadWindow)
                g_hooks.ShowLoadWindow(MeridelSource(), LoadCaption(g.Fields),
                                       QStringLiteral("Collecting Logged Data from the ") + DeviceName());
            return;
        }
        case 3:
            return MeridelBlock(text);
        default:
            return;
    }
}

namespace {

bool TalonDescription(const QString& reply) {
    QString rest = AfterMarker(reply);
    for (int32_t& field : g.TalonFields) {
        const QString word = FirstWord(rest);
        if (word.trimmed().isEmpty() || !TryParseWhole(word, field)) return false;
        rest = rest.mid(word.size());
    }
    return true;
}

void TalonBlock(const QString& reply) {
    if (!StillRunning()) return;
    const QStringList words = BlockWords(reply);
    const int16_t code = int16_t(g.TalonFields[0]);
    QStringList lines;
    for (int k = 0; k < kBlockSize && g.PointsReceived < g.PointsExpected; ++k) {
        int32_t mantissa = 0;
        if (k >= words.size() || !TryParseWhole(words[k], mantissa)) return FailDownload();
        lines << TimedText(ReadingText(mantissa, code), g.PointsReceived++);
    }
    for (const QString& line : lines) Feed(line);
    EndOfBlock();
}

}  // namespace

void RetrieveTalonLog(const QString& text) {
    if (text.contains(kCancel)) return CancelDownload();
    const bool acknowledged = text.contains(QLatin1Char('*'));
    switch (g.DownloadStep) {
        case 0:
            ClearDownload();
            g.RetrieveStep = 5;
            g.DownloadStep = 1;
            Send(QStringLiteral("LI"));
            return;
        case 1: {
            if (!acknowledged || !TalonDescription(text)) return FailDownload();
            if (g.TalonFields[3] < 1) {
                ClearDownload();
                ReportNoLogs(QStringLiteral("TALON"));
                return;
            }
            g.LogIsEnergy = g.TalonFields[4] == 0;
            if (!g.LogIsEnergy) {
                g.Facts.Units.BaseUnit = QStringLiteral("W");
                g.SampleInterval = float(g.TalonFields[4]) / 30.0f;
            }
            BeginViewer(g.LogIsEnergy ? ViewEnergy : ViewPower, QStringLiteral("TALON"));
            Progress(-1, 0.0f);
            g.DownloadStep = 2;
            Send(QStringLiteral("LR"));
            return;
        }
        case 2:
            if (!acknowledged) return FailDownload();
            BeginBlocks(g.TalonFields[3]);
            if (g_hooks.ShowLoadWindow)
                g_hooks.ShowLoadWindow(SourceTalon,
                                       QString::number(g.PointsExpected) + QStringLiteral(" data points"),
                                       QStringLiteral("Collecting Logged Data from the TALON"));
            return;
        case 3:
            return TalonBlock(text);
        default:
            return;
    }
}

void LeaveDeviceFileView() {
    CancelDownload();
    if (g_hooks.HideLoadWindow) g_hooks.HideLoadWindow();
    if (StoredDataViewer* v = CurrentViewer()) v->Load(1, QString());
    SetBusyCursor(false);
}

void AskRetryRead() {
    if (platform::prompts().AskYesNo(QStringLiteral("Data Reading Fail. Retry?"),
                                     QStringLiteral("Data Error."), platform::Icon::Question)) {
        SwitchTo(ModeDeviceFile);
        return;
    }
    SwitchTo(ModeNone);
    SetBusyCursor(false);
}

void ReportNoLogs(const QString& deviceName) {
    platform::prompts().Beep();
    platform::prompts().Message(
        QStringLiteral("Sorry, no logged data is available on your ") + deviceName + QLatin1Char('.'),
        QStringLiteral("Information"), platform::Icon::Information);
    SwitchTo(ModeNone);
}

DualHeads DualHeadsOf(const QString& nameA, const QString& serialA, const QString& nameB,
                      const QString& serialB) {
    return {nameA.trimmed(), QStringLiteral("; s/n ") + serialA.trimmed(), nameB.trimmed(),
            QStringLiteral("; s/n ") + serialB.trimmed()};
}

void ResetMeterLogs() {
    g = LogTransfer{};
    g_hooks = RetrievalHooks{};
}

namespace {
const ResetWithProgramState kReset{&ResetMeterLogs};
}  // namespace
