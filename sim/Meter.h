#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <QVector>
#include <array>
#include <deque>
#include <limits>
#include <memory>

namespace sim {

// Meter models by their DeviceType code.
enum class Model : int {
    Talon = 0,
    MeridelOne = 1,
    MeridelTwo = 2,
    Talon2 = 3,
    KorvenTH = 4,
    KorvenPD = 5,
    KorvenPE = 6,
    KorvenQX450 = 7,
    Sirka = 8,
};

// How a head's readings are made up.
struct ReadingSpec {
    double base = 1.234e-3;   // in the head's unit (W, J, Lx, ...)
    double noise = 0.0;       // relative spread: base * (1 +- noise)
    int overEvery = 0;        // every n-th reading is "OVER"; 0 = never
    int missEvery = 0;        // every n-th "SB" power reply has no value here ("N"); 0 = never
    double pulseRate = 10.0;  // pulses per second for energy readings; 0 = no pulses
    double readyDelay = 0.0;  // seconds after a pulse was read until "ER" reports ready
    double pulseDelay = 0.0;  // pulses come this much later than on a channel without it
};

// The head on one channel.
struct HeadSpec {
    int type =
        0;  // 0 none, 1 thermopile, 2 pyroelectric, 3 photodiode, 4 nJ-meter, 5 rapid pulse, 6 photometer
    QString name;  // up to 12 characters
    quint32 serial = 0;
    QString unit;  // "W", "J", "Lx", "Fc", "A", "V"; empty = by type ("J" pyroelectric, "Lx" photometer)
    bool rapidPulse = false;  // rapid-pulse status bit in "HI" (thermopiles; type 5 sets it too)
    QString korvenCode;       // code in a KORVEN "HI" reply; empty = from type ("QX450", "UC" may be set)
    ReadingSpec reading;
};

// A log the meter stored itself.
struct StoredLog {
    int file = 0;        // 0 = "Temp", 1..10; the TALON keeps one log
    QString unit = "W";  // description field 5: "J" energy, "_" relative units, else power
    int exponent = 0;    // reading = mantissa * 10^(exponent - 3), channel A
    int exponentB = 0;
    int interval = 30;     // between power readings, 1/30 s
    int fullScale = 1000;  // counts, channel A
    int fullScaleB = 1000;
    bool dual = false;  // mantissas alternate A, B
    bool missingPulseDetection = false;
    QString headA = "3A", serialA = "123456", headB = "NONE", serialB;
    QVector<int> mantissas;
};

// Misbehaviour to inject.
struct Faults {
    bool silent = false;      // never answers
    bool garbage = false;     // answers noise without LF instead of replies
    int splitChunks = 1;      // every reply goes out in this many chunks
    double chunkGap = 0.005;  // seconds between chunks of a split reply
    double delay = 0.0;       // seconds before a reply starts
    int badBlocks = 0;        // the first n data blocks ("LS") are corrupted
};

struct MeterConfig {
    Model model = Model::Talon;
    QString firmware;  // version text after the model code in "VE"; empty = the model's default
    int baud = 19200;
    std::array<HeadSpec, 2> heads{};  // channel A, channel B
    QSet<QString> refused;            // commands (without "$", with parameters) answered with "?"
    Faults faults;
    QVector<StoredLog> logs;
    bool strictModes = false;  // reading commands refused with "?" outside their measurement mode
    bool lineTiming = true;    // replies take 10 bits a character at `baud`; false = at once (benchmarks)
    quint32 seed = 1;          // noise generator
};

class MeterState;

// An emulated meter: bytes in, timed bytes out.
class Meter {
public:
    explicit Meter(MeterConfig cfg = {});
    ~Meter();
    Meter(const Meter&) = delete;
    Meter& operator=(const Meter&) = delete;

    MeterConfig& Config();
    void Receive(const QByteArray& bytes, double now, int hostBaud);  // bytes from the program
    // Bytes the meter has sent by `now`, removed; a program listening at
    // another speed than the meter's (`hostBaud`) hears them as noise.
    QByteArray Transmit(double now, int hostBaud);
    double NextTransmitTime() const;       // time of the next pending byte, +inf when none
    QStringList CommandsReceived() const;  // commands seen, for tests
    // Told of every command and its reply text (no CR LF) as it is answered.
    std::function<void(const QString& command, const QByteArray& reply)> Answered;

    // The reply text (with CR LF) to one command, without timing or faults.
    QByteArray Answer(const QString& command);
    // Seconds one character takes at the meter's baud rate (10 bits); 0 without line timing.
    double CharTime() const;

private:
    struct Pending {
        char byte;
        double at;
    };
    void HandleLine(const QByteArray& line, double now);
    void Queue(const QByteArray& bytes, double start, int chunks);
    QByteArray Noise(int n);

    MeterConfig cfg_;
    std::unique_ptr<MeterState> state_;
    QByteArray line_;
    bool overlong_ = false;
    std::deque<Pending> out_;
    QStringList received_;
    double lastDue_ = 0;
    double lastNow_ = 0;
    quint64 noise_ = 0x9E3779B97F4A7C15ULL;
};

}  // namespace sim
