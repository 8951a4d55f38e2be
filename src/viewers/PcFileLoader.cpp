#include "viewers/PcFileLoader.h"

#include "auxiliary/NotesText.h"
#include "auxiliary/NotesWindow.h"
#include "data/PcFileFormat.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "state/AppState.h"
#include "state/Files.h"
#include "state/StateReset.h"
#include "viewers/DataSet.h"
#include "viewers/LoadingWindow.h"
#include "viewers/StoredDataViewer.h"
#include "viewers/ViewModeDialog.h"
#include "viewers/Viewers.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <exception>
#include <functional>

namespace {

constexpr qint64 kBlockBytes = 1 << 20;
constexpr double kEventInterval = 0.02;  // seconds between two rounds of window events
constexpr int kLinesPerClockLook = 32;

// Bumped by every load: a load that finds another number has been replaced.
int g_generation = 0;

// The file being loaded or loaded last: its kind and channels, and whether
// the running load is to stop. The view mode is the dialog's last answer.
struct LoadState {
    int16_t LoadKind = LoadNothing;
    bool DualData = false;
    bool LoadCancel = false;
};
LoadState g_load;

void ForgetLoad() {
    g_load = LoadState{};
}
const ResetWithProgramState kReset{&ForgetLoad};

void Tell(const QString& text) {
    platform::prompts().Beep();
    platform::prompts().Message(text, QStringLiteral("Kelvaro32"), platform::Icon::None);
}

// Cuts the blocks of an open file into lines (without CR LF). A line longer
// than kMaxLineBytes is cut there and the rest of it skipped, so memory
// stays bounded whatever the file holds.
class FileLines {
public:
    // `between` runs after every block read (window events); false from it
    // ends the lines, also in the middle of a long line being skipped.
    FileLines(int16_t fileNo, std::function<bool()> between)
        : fileNo_(fileNo), between_(std::move(between)) {}

    bool Next(QByteArray& line) {
        for (;;) {
            const qsizetype nl = buf_.indexOf('\n', pos_);
            if (nl >= 0) {
                const qsizetype start = pos_;
                pos_ = nl + 1;
                consumed_ += pos_ - start;
                if (std::exchange(skipping_, false)) continue;
                return Take(start, nl - start, line);
            }
            const qsizetype tail = buf_.size() - pos_;
            if (skipping_ || tail > kMaxLineBytes) {
                consumed_ += tail;
                const bool cut = !skipping_;
                if (cut) Take(pos_, kMaxLineBytes, line);
                buf_.clear();
                pos_ = 0;
                skipping_ = true;
                if (cut) return true;
            } else {
                buf_.remove(0, pos_);
                pos_ = 0;
            }
            if (eof_) {
                if (buf_.isEmpty()) return false;
                consumed_ += buf_.size();
                pos_ = buf_.size();
                return Take(0, buf_.size(), line);
            }
            const QByteArray more = ReadBlock(fileNo_, kBlockBytes);
            if (more.isEmpty())
                eof_ = true;
            else
                buf_ += more;
            if (between_ && !between_()) return false;
        }
    }
    qint64 Consumed() const { return consumed_; }

private:
    bool Take(qsizetype start, qsizetype length, QByteArray& line) const {
        line = buf_.mid(start, length);
        if (line.endsWith('\r')) line.chop(1);
        return true;
    }

    int16_t fileNo_;
    std::function<bool()> between_;
    QByteArray buf_;
    qsizetype pos_ = 0;
    qint64 consumed_ = 0;
    bool eof_ = false;
    bool skipping_ = false;
};

// The title is the file name and the head part ("; " + from its "Head");
// the viewer gets the head part apart too, since a name may hold "Head".
void Begin(int16_t viewer, const QString& fileName, const QString& headPart, const DataSetFacts& facts) {
    StoredDataViewer* v = Viewer(viewer);
    if (!v) return;
    DescribeDataSet(facts);
    v->Load(-1, fileName + headPart);
    v->SetHeadText(headPart.startsWith(QLatin1String("; ")) ? headPart.mid(2) : headPart);
}

// The header: kind, channels, unit or energy flags, the view-mode question,
// and the receiving viewer's start. False when nothing is to be loaded.
bool StartFromHeader(const QString& line, const QString& fileName) {
    LoadState& p = g_load;
    const PcFileHeader h = ReadPcFileHeader(line);
    p.DualData = h.dual;
    p.LoadKind = h.kind;
    if (h.kind == LoadNothing) {
        Tell(QStringLiteral("Unknown file format."));
        return false;
    }
    const bool power = h.kind == LoadPower;
    DataSetFacts facts;
    if (power) {
        facts.Units.BaseUnit = UnitOfHeader(line, h.dual);
    } else {
        facts.Units.RelativeEnergy = h.relativeUnits;
        facts.MissingPulseDetection = h.missingPulseDetection;
    }
    const int16_t single = power ? int16_t(ViewPower) : int16_t(ViewEnergy);
    if (!h.dual) {
        Begin(single, fileName, h.headPart, facts);
        return true;
    }
    switch (GetDualViewMode(h.kind, fileName)) {
        case 0:
            Begin(single, fileName, h.headAPart, facts);
            return true;
        case 1:
            Begin(single, fileName, QStringLiteral("; ") + h.headBPart, facts);
            return true;
        case 2:
        case 3:
            if (power) facts.Heads = HeadsOfDualHeader(h.headPart);
            Begin(ReceivingViewer(h.kind, true, LastDualViewMode()), fileName,
                  h.headAPart + QStringLiteral("; ") + h.headBPart, facts);
            return true;
        default:
            p.LoadKind = LoadNothing;
            return false;
    }
}

void Abort() {
    LoadState& p = g_load;
    if (StoredDataViewer* v = Viewer(ReceivingViewer(p.LoadKind, p.DualData, LastDualViewMode())))
        v->Load(1, QString());
    p.DualData = false;
    ForgetDualViewMode();
    p.LoadKind = LoadNothing;
    p.LoadCancel = true;
}

class Load {
public:
    Load(const QString& fileName, int16_t fileNo, qint64 length)
        : fileName_(fileName),
          fileNo_(fileNo),
          length_(length),
          lines_(fileNo,
                 [this] {
                     LetEventsRun();
                     return !Stopped();
                 }),
          generation_(++g_generation) {}

    int16_t Run() {
        LoadState& p = g_load;
        p.LoadCancel = false;
        p.DualData = false;
        ForgetDualViewMode();
        nextEvents_ = platform::clock().Monotonic() + kEventInterval;
        QByteArray bytes;
        try {
            while (!Stopped() && lines_.Next(bytes)) {
                ++lineNo_;
                Take(QString::fromUtf8(bytes));
                LetEventsAfterLine();
            }
        } catch (const std::exception& e) {
            return Fail(QString::fromUtf8(e.what()));
        } catch (...) {
            return Fail(QStringLiteral("unknown error"));
        }
        return Finish();
    }

private:
    bool Stopped() const { return g_load.LoadCancel || g_generation != generation_; }

    void Take(const QString& line) {
        if (lineNo_ == 1) return Header(line);
        progress_.Fraction = float(double(lines_.Consumed()) / double(length_));
        DrawProgress(0, progress_);
        if (line.startsWith(QLatin1Char('\''))) {
            notes_.Add(QStringView(line).mid(1));
            return;
        }
        const RoutedLine r = RouteDataLine(line, g_load.LoadKind, g_load.DualData, LastDualViewMode());
        if (StoredDataViewer* v = Viewer(r.viewer)) v->Load(0, r.text);
    }

    void Header(const QString& line) {
        progress_ = ProgressRecord{7, 1, 0};
        DrawProgress(-1, progress_);
        if (!StartFromHeader(line, fileName_)) {
            g_load.LoadCancel = true;
            return;
        }
        SetDataLoadCancel(kSourcePcFile, [] { LoadPcFile(QStringLiteral("cancel retrieve")); });
        DataLoadFormShow(kSourcePcFile, fileName_, QStringLiteral("Loading Data Stored in PC File"));
    }

    void LetEventsAfterLine() {
        if (lineNo_ % kLinesPerClockLook == 0) LetEventsRun();
    }

    void LetEventsRun() {
        const double now = platform::clock().Monotonic();
        if (now < nextEvents_) return;
        nextEvents_ = now + kEventInterval;
        QCoreApplication::processEvents();
    }

    void Close(bool keepNotes) {
        CloseFile(fileNo_);
        if (keepNotes && !notes_.IsEmpty()) Notes().AppendNotesBox(notes_.Text());
        if (g_generation != generation_) return;  // the window is the newer load's now
        progress_.Fraction = 1;
        DrawProgress(1, progress_);
        DataLoadFormHide();
    }

    int16_t Finish() {
        const bool cancelled = Stopped();
        Close(!cancelled);
        return cancelled ? int16_t(LoadNothing) : g_load.LoadKind;
    }

    int16_t Fail(QString reason) {
        if (reason.endsWith(QLatin1Char('.'))) reason.chop(1);
        Close(true);
        g_load.LoadKind = LoadNothing;
        g_load.LoadCancel = true;
        Tell(QStringLiteral("Program internal trap. Notify supplier. Line %1 of %2 cannot be read: %3.")
                 .arg(lineNo_)
                 .arg(fileName_, reason));
        return LoadNothing;
    }

    QString fileName_;
    int16_t fileNo_;
    qint64 length_;
    FileLines lines_;
    int generation_;
    qint64 lineNo_ = 0;
    double nextEvents_ = 0;
    ProgressRecord progress_;
    NotesGatherer notes_;
};

}  // namespace

int16_t LoadPcFile(const QString& fileName) {
    if (fileName.contains(QLatin1String("cancel retrieve"))) {
        Abort();
        return LoadNothing;
    }
    if (!FileExists(fileName)) return LoadNothing;
    const qint64 length = QFileInfo(fileName).size();
    if (length == 0) return LoadNothing;
    const int16_t no = OpenFile(fileName, FileRead);
    if (no == 0) {
        Tell(QStringLiteral("Data file ") + fileName + QStringLiteral(" failed. Operation canceled."));
        return LoadNothing;
    }
    return Load(fileName, no, length).Run();
}

int16_t ReceivingViewerOfLoad() {
    return ReceivingViewer(g_load.LoadKind, g_load.DualData, LastDualViewMode());
}
