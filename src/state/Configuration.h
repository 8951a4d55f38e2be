#pragma once

#include "state/AppState.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// kelvaro.cfg: 64 settings identified by position, one per value line, each
// followed by a comment that names it.

inline const QString kConfigurationFile = QStringLiteral("kelvaro.cfg");
// Where kelvaro.cfg is: the settings folder, by default the current directory.
QString ConfigurationPath();

// The settings in force. Read from kelvaro.cfg and written back whole by
// this file's routines; the setup dialogs and the main window's menus
// change them and then call SaveConfiguration.
Settings& CurrentSettings();

// The working files of the logging windows, in the program folder under the
// names the settings give (ComputeWorkFilePaths).
struct WorkFilePaths {
    QString WorkFileName;             // power
    QString EnergyWorkFile;           // energy
    QString RatioWorkFile;            // energy ratio
    QString PowerRatioWorkFile;       // power ratio
    QString PowerDifferenceWorkFile;  // power difference
};
WorkFilePaths& WorkFiles();
// The working file of a logging mode (ActiveMode code); null for the modes
// that keep none.
QString* WorkFileOfMode(int16_t mode);

// Reads kelvaro.cfg from the settings folder into CurrentSettings(); a missing
// or unusable file gives the defaults, which are written back. False when
// the file is there but cannot be read (the program then ends).
bool LoadConfiguration();

// Rewrites kelvaro.cfg whole from CurrentSettings().
void SaveConfiguration();

// The 76 lines of the file, without line ends.
QStringList ConfigurationLines(const Settings& s);

// The whole file as written on this platform (LF line ends; CR LF on Windows).
QByteArray ConfigurationText(const Settings& s);

// The settings a file holds, or nothing when it cannot be used: fewer than 64
// values, 76 or more, or a value that does not convert to its type.
std::optional<Settings> ParseConfiguration(const QByteArray& fileText);

// The value text of one line: cut before the first apostrophe, then before
// the first blank.
QString ConfigurationValue(const QString& line);

// Text form of a double that reads back to the same value: up to 15
// significant digits when that is enough, exponent form ("1E-12",
// "2.5E+20") for very small or large magnitudes.
QString ConfigurationNumber(double v);

// Working-file paths from the file names in CurrentSettings().
void ComputeWorkFilePaths();
