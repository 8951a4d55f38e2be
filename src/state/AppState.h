#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

#include "state/Mode.h"

// The application state shared by every window: one instance for the whole
// run, zeroed at start (ResetAppState), reached through App().

enum ActiveModeCode : int16_t {
    ModeNone = 0,
    ModeTerminal = 1,
    ModePower = 2,
    ModeEnergy = 3,
    ModeDeviceFile = 5,
    ModePcFile = 6,
    ModeRapidPulse = 7,
    ModePowerRatio = 11,
    ModePowerDifference = 12,
    ModeEnergyRatio = 13,
};

// Which viewer shows loaded data (App().ViewerKind; -1 none).
enum ViewerKindCode : int16_t {
    ViewPower = 0,            // PowerViewer
    ViewPowerRatio = 1,       // PowerRatioViewer
    ViewPowerDifference = 2,  // PowerDifferenceViewer
    ViewEnergy = 3,           // EnergyViewer
    ViewEnergyRatio = 4       // EnergyRatioViewer
};

// Settings kept in kelvaro.cfg, by mode, in file order.
struct PowerSettings {
    double GraphLow = 0;
    double GraphHigh = 1;
    int16_t GraphUnits = 4;
    int16_t GraphExponent = 0;
    int32_t LogTime = 15;
    int16_t DisplayMode = 2;
    bool Scrolling = false;
    int16_t Presentation = 0;
    int16_t GraphGrid = 3;
    int16_t StatMode = 3;
    QString FileName = "kelvaro.pwr";
};

struct EnergySettings {
    double EnergyLowLimit = 0;
    double EnergyHighLimit = 1;
    int16_t EnergyBinsCount = 10;
    int32_t EnergyInitialSize = 100;
    int16_t EnergyUnits = 4;
    int16_t EnergyScaleIndex = 0;
    int16_t EnergyDisplayStyle = 0;
    int16_t EnergyStorageMode = 0;
    int16_t EnergyStorageRate = 1;
    int16_t EnergyStorageStyle = 1;
    bool EnergyTimeStamp = false;
    int16_t Presentation = 0;
    int16_t EnergyStatistics = 3;
    QString FileName = "kelvaro.nrg";
};

struct PowerRatioSettings {
    double RatioLow = 0;
    double RatioHigh = 1;
    int16_t RatioExponent = 0;
    int32_t RatioLogTime = 15;
    int16_t RatioDisplayMode = 2;
    bool Scrolling = false;
    int16_t Presentation = 0;
    int16_t RatioGrid = 3;
    int16_t RatioStatMode = 3;
    QString FileName = "kelvaro.dpw";
};

struct PowerDifferenceSettings {
    double DifferenceLow = 0;
    double DifferenceHigh = 1;
    int16_t DifferenceUnits = 4;
    int16_t DifferenceExponent = 0;
    int32_t DifferenceLogTime = 15;
    int16_t DifferenceDisplayMode = 2;
    bool Scrolling = false;
    int16_t Presentation = 0;
    int16_t DifferenceGrid = 3;
    int16_t DifferenceStatMode = 3;
    QString FileName = "kelvaro.dpw";
};

struct EnergyRatioSettings {
    double RatioLowLimit = 0;
    double RatioHighLimit = 1;
    int16_t RatioLimitExponent = 0;
    double RatioEnergyLow = 0;
    double RatioEnergyHigh = 1;
    int16_t RatioEnergyUnits = 4;
    int16_t RatioEnergyScaleIndex = 0;
    int16_t RatioDisplayStyle = 2;
    int16_t RatioStorageMode = 0;
    int16_t RatioStorageRate = 1;
    int16_t RatioStorageStyle = 1;
    bool RatioTimeStamp = false;
    int16_t Presentation = 0;
    int16_t RatioGridStyle = 3;
    int16_t RatioStatistics = 3;
    QString FileName = "kelvaro.dnr";
};

struct Settings {
    int16_t CommPort = 1;
    bool LogToFile = false;
    PowerSettings Power;
    EnergySettings Energy;
    PowerRatioSettings PowerRatio;
    PowerDifferenceSettings PowerDifference;
    EnergyRatioSettings EnergyRatio;
};

// What the lower layers ask of the main window. The
// main window fills these at start; tests fill them with recorders. Unset
// hooks do nothing.
struct ShellHooks {
    std::function<void(int16_t newMode)> SwitchMode;
    std::function<void(bool enabled)> ConnectEnable;          // mnuConnect_Enable
    std::function<void(bool enabled)> LogFileOnOffEnable;     // LogFileOnOff_Enable
    std::function<void(bool on)> SetDataLogFile;              // the Data Log File switch, as its menu items
    std::function<void()> ConnectClick;                       // mnuConnect_Click
    std::function<void(int16_t port)> CheckPort;              // check mark of the port item
    std::function<void()> ConnectionLost;                     // the device went away while connected
    std::function<void()> ProcessEvents;                      // one round of window events (waits)
    std::function<void()> ClearNotes;                         // NotesWindow.ClearNotesBox
    std::function<void()> SaveFile;                           // the File menu's Save, for the save reminder
    std::function<void(const QString& fileName)> OpenPcFile;  // load a PC data file and show it
};

struct AppState {
    // Modes
    int16_t ActiveMode = ModeNone;
    QString ModeCommand;
    bool RapidPulseAbsolute = true;
    bool ModeCheckPending = false;
    int16_t ViewerKind = -1;

    ShellHooks Shell;
};

AppState& App();

// Zero the state (hooks included).
void ResetAppState();

// The hourglass pointer for the whole screen while busy, the default otherwise.
void SetBusyCursor(bool busy);
