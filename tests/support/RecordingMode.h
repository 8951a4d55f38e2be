#pragma once

#include "state/AppState.h"
#include "state/Mode.h"

#include <QString>
#include <functional>

// What each mode of the program declares: power and energy send their
// command first and resend it while the meter refuses; rapid pulse and the
// two-channel modes send it after they are ready, and the two-channel modes
// ask again after a refusal; the PC file reads no meter; the views are
// entered afresh when chosen again; the power-type charts pause for files.
inline ModeTraits ProgramTraits(int16_t code) {
    using S = StartOrder;
    switch (code) {
        case ModePower:
            return {S::BeforeBegin, "FP", false, true, false, true};
        case ModeEnergy:
            return {S::BeforeBegin, "FE", false, true, false, false};
        case ModeRapidPulse:
            return {S::AfterBegin, "FE", false, true, false, false};
        case ModePowerRatio:
        case ModePowerDifference:
        case ModeEnergyRatio:
            return {S::AfterBegin, nullptr, true, true, false, code != ModeEnergyRatio};
        case ModePcFile:
        case ModeDeviceFile:
            return {S::None, nullptr, false, code == ModeDeviceFile, true, false};
        default:
            return {};
    }
}

// A mode that hands its operations to the test: Entry takes op -1 (begin),
// 0 (a reply), 1 (end) and 2 (a refused reply), as the windows' entry points.
class RecordingMode final : public Mode {
public:
    // Registers it under `code` with that mode's traits (after ResetAppState).
    void RegisterAs(int16_t code) {
        traits = ProgramTraits(code);
        Modes().Register(code, *this);
    }
    ModeTraits Traits(int16_t) const override { return traits; }
    void Begin() override { Call(-1); }
    void Reply(QString& line) override { Call(0, line); }
    void Refused(QString& line) override { Call(2, line); }
    void End() override { Call(1); }
    void Save(const QString& name) override {
        if (OnSave) OnSave(name);
    }
    void Print() override {
        if (OnPrint) OnPrint();
    }
    void Pause(bool on) override {
        if (OnPause) OnPause(on);
    }

    ModeTraits traits;
    std::function<void(int op, QString& text)> Entry;
    std::function<void(const QString&)> OnSave;
    std::function<void()> OnPrint;
    std::function<void(bool on)> OnPause;

private:
    void Call(int op, QString& text) {
        if (Entry) Entry(op, text);
    }
    void Call(int op) {
        QString none;
        Call(op, none);
    }
};
