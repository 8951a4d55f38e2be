#pragma once

#include <QString>
#include <cstdint>

namespace platform {
class Prompts;
}

// Rescue of unsaved data when the program is ended from outside, without
// questions: written in the format of Save beside the mode's working file.

// "<folder>/kelvaro.pwr" with stamp "2026-12-06-231500" gives
// "<folder>/kelvaro-2026-12-06-231500.pwr".
QString RecoveryFileName(const QString& workFile, const QString& stamp);

// Writes the active mode's unsaved data that is not in its working file to
// its recovery file; returns the file's name, empty when nothing was
// unsaved or the file could not be written.
QString SaveRecoveryFile(const QString& stamp);

// While it lives, messages and questions go nowhere (questions are answered
// No, dialogs cancelled): an end from outside must not wait for the user.
class Unattended {
public:
    Unattended();
    ~Unattended();
    Unattended(const Unattended&) = delete;
    Unattended& operator=(const Unattended&) = delete;

private:
    platform::Prompts* previous_;
};
