#pragma once

#include <QString>
#include <array>

namespace platform {

// COM n (1..16) to a device path. Defaults per platform; a text file
// "kelvaro.ports" beside kelvaro.cfg (the settings folder) overrides entries:
//   COM<n> <device path>     (blank lines and '#' comments allowed, bad lines ignored)
class PortTable {
public:
    static constexpr int kPorts = 16;

    PortTable();                              // platform defaults only
    static PortTable FromCurrentDirectory();  // defaults + kelvaro.ports of the settings folder

    void Override(const QString& fileText);        // apply the lines of a ports file
    void SetDevice(int n, const QString& device);  // one entry, for this run only
    QString Device(int n) const;                   // empty for n outside 1..16
    bool Exists(int n) const;                      // the device exists

private:
    std::array<QString, kPorts + 1> devices_;
};

// The table the program uses; reloaded by BuildPortMenu.
PortTable& portTable();

// The device given on the command line for the configured port (empty:
// none); it wins over the defaults and kelvaro.ports for the whole run.
QString commandLinePort();
void setCommandLinePort(const QString& device);

}  // namespace platform
