#pragma once

#include <QString>

// A window that shows a stored record fed to it line by line: a PC data
// file or a log downloaded from the meter. The power viewers call these
// PowerLoad, ShowPowerData, PowerDataSave and PowerPrint; the energy
// viewers EnergyLoad, ShowEnergyData, EnergyDataSave and EnergyPrint.
class StoredDataViewer {
public:
    virtual ~StoredDataViewer() = default;

    // Step -1 begins a new record (`text`: the title), 0 adds one data line,
    // 1 abandons the record and closes the window.
    virtual void Load(int step, const QString& text) = 0;
    // Draws the record once all lines are in, and shows the window.
    virtual void ShowData() = 0;
    // Writes the record anew as a data file; nothing when it holds no data.
    virtual void DataSave(const QString& fileName) = 0;
    virtual void Print() = 0;
};
