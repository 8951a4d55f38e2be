#pragma once

#include <QString>
#include <array>

namespace platform {

// COM n (1..16) to a device path. Defaults per platform; a text file
// "kelvaro.ports" in the current directory overrides entries:
//   COM<n> <device path>     (blank lines and '#' comments allowed, bad lines ignored)
class PortTable {
public:
    static constexpr int kPorts = 16;

    PortTable();                              // platform defaults only
    static PortTable FromCurrentDirectory();  // defaults + kelvaro.ports if present

    void Override(const QString& fileText);  // apply the lines of a ports file
    QString Device(int n) const;             // empty for n outside 1..16
    bool Exists(int n) const;                // the device exists

private:
    std::array<QString, kPorts + 1> devices_;
};

// The table the program uses; reloaded by BuildPortMenu.
PortTable& portTable();

}  // namespace platform
