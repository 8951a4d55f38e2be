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
#include <cstring>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// Cuts the blocks of an open file into lines (without CR LF), each a view
// into one buffer kept for the whole file, valid until the next line is
// asked for. A line longer than kMaxLineBytes that has not ended within the
// buffer is cut there and the rest of it skipped, so memory stays bounded
// whatever the file holds.
class FileLines {
public:
    // `between` runs after every block read (window events); false from it
    // ends the lines, also in the middle of a long line being skipped.
    FileLines(int16_t fileNo, std::function<bool()> between)
        : fileNo_(fileNo), between_(std::move(between)), buf_(size_t(kBlockBytes + kMaxLineBytes + 1)) {}

    bool Next(std::string_view& line) {
        for (;;) {
            char* const data = buf_.data();
            if (const auto* nl = static_cast<const char*>(std::memchr(data + begin_, '\n', end_ - begin_))) {
                const size_t start = begin_;
                begin_ = size_t(nl - data) + 1;
                consumed_ += qint64(begin_ - start);
                if (std::exchange(skipping_, false)) continue;
                return Take(start, size_t(nl - data) - start, line);
            }
            const size_t tail = end_ - begin_;
            if (skipping_ || tail > size_t(kMaxLineBytes)) {
                consumed_ += qint64(tail);
                const bool cut = !skipping_;
                skipping_ = true;
                if (cut) {
                    const size_t start = std::exchange(begin_, end_);  // the rest goes at the next read
                    return Take(start, size_t(kMaxLineBytes), line);
                }
                begin_ = end_ = 0;
            } else {
                std::memmove(data, data + begin_, tail);  // a line begun in the last block
                begin_ = 0;
                end_ = tail;
            }
            if (eof_) {
                if (end_ == begin_) return false;
                const size_t start = std::exchange(begin_, end_);
                consumed_ += qint64(end_ - start);
                return Take(start, end_ - start, line);
            }
            const qint64 got = ReadBlockInto(fileNo_, data + end_, kBlockBytes);
            if (got <= 0)
                eof_ = true;
            else
                end_ += size_t(got);
            if (between_ && !between_()) return false;
        }
    }
    qint64 Consumed() const { return consumed_; }

private:
    bool Take(size_t start, size_t length, std::string_view& line) const {
        line = std::string_view(buf_.data() + start, length);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return true;
    }

    int16_t fileNo_;
    std::function<bool()> between_;
    std::vector<char> buf_;
    size_t begin_ = 0, end_ = 0;  // the bytes not cut into lines yet
    qint64 consumed_ = 0;
    bool eof_ = false;
    bool skipping_ = false;
};

QString Text(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

// Single power and both combinations of dual power go to their viewer whole.
bool WholePowerLines(int16_t kind, bool dual, int16_t viewMode) {
    return kind == LoadPower && (!dual || viewMode >= 2);
}

// A data line as the receiving viewer gets it, cut from the bytes as
// RouteDataLine cuts the text: whole (above), or for one channel of dual
// power its field and the time. Nothing for the energy files, which go as text.
std::optional<std::string_view> PowerLineBytes(std::string_view line, int16_t kind, bool dual,
                                               int16_t viewMode, std::string& scratch) {
    if (kind != LoadPower) return std::nullopt;
    if (WholePowerLines(kind, dual, viewMode)) return line;
    const size_t t1 = line.find('\t');
    if (t1 == std::string_view::npos) return std::string_view();
    const size_t t2 = line.find('\t', t1 + 1);
    const std::string_view first = line.substr(0, t1 + 1);
    const std::string_view second =
        t2 == std::string_view::npos ? line.substr(t1 + 1) : line.substr(t1 + 1, t2 - t1);
    const std::string_view rest = t2 == std::string_view::npos ? std::string_view() : line.substr(t2 + 1);
    scratch.assign(viewMode == 0 ? first : second);
    scratch.append(rest);
    return std::string_view(scratch);
}

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
        std::string_view bytes;
        try {
            while (!Stopped() && lines_.Next(bytes)) {
                ++lineNo_;
                Take(bytes);
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

    void Take(std::string_view bytes) {
        if (lineNo_ == 1) return Header(Text(bytes));
        const bool note = !bytes.empty() && bytes.front() == '\'';
        if (wholeLines_ && !note && wholeLines_->LoadBytes(bytes)) return;
        if (note) {
            notes_.Add(Text(bytes.substr(1)));
            return;
        }
        const int16_t viewMode = LastDualViewMode();
        StoredDataViewer* v = Viewer(ReceivingViewer(g_load.LoadKind, g_load.DualData, viewMode));
        if (!v) return;
        // The bytes as they are where the viewer can read them so; the text otherwise.
        if (const auto routed = PowerLineBytes(bytes, g_load.LoadKind, g_load.DualData, viewMode, scratch_))
            if (v->LoadBytes(*routed)) return;
        v->Load(0, RouteDataLine(Text(bytes), g_load.LoadKind, g_load.DualData, viewMode).text);
    }

    void Header(const QString& line) {
        progress_ = ProgressRecord{7, 1, 0};
        DrawProgress(-1, progress_);
        if (!StartFromHeader(line, fileName_)) {
            g_load.LoadCancel = true;
            return;
        }
        // The viewer that takes every data line whole, as bytes where it can.
        const int16_t viewMode = LastDualViewMode();
        if (WholePowerLines(g_load.LoadKind, g_load.DualData, viewMode))
            wholeLines_ = Viewer(ReceivingViewer(g_load.LoadKind, g_load.DualData, viewMode));
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
        // The bar is painted only while events run: its width is set then.
        if (lineNo_ > 1) {
            progress_.Fraction = float(double(lines_.Consumed()) / double(length_));
            DrawProgress(0, progress_);
        }
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
    std::string scratch_;
    StoredDataViewer* wholeLines_ = nullptr;
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
