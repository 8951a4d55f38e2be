#pragma once

#include "viewers/ViewerValues.h"

#include <QString>
#include <optional>
#include <string_view>

// A window that shows a stored record fed to it line by line: a PC data
// file or a log downloaded from the meter. The power viewers call these
// PowerLoad, ShowPowerData, PowerDataSave and PowerPrint; the energy
// viewers EnergyLoad, ShowEnergyData, EnergyDataSave and EnergyPrint.
class StoredDataViewer {
public:
    virtual ~StoredDataViewer() = default;

    // Step -1 begins a new record (`text`: the title), 0 adds one data line,
    // 1 abandons the record and closes the window.
    // A line that cannot be read (a field that is not a number: read them
    // with ParseFileNumber of data/Parsing.h) throws DataFileError
    // (data/DataFileSave.h) with the reason, for instance "not a number:
    // 1.2.3". The loader then ends the load and names the line and the file;
    // the lines taken until then stay.
    virtual void Load(int step, const QString& text) = 0;
    // A data line as the file's bytes (UTF-8, without CR LF), for viewers
    // that read millions of lines without a QString each. False when the
    // line was not taken: the loader then passes it to Load(0, text).
    virtual bool LoadBytes(std::string_view line) { return false; }
    // Draws the record once all lines are in, and shows the window.
    virtual void ShowData() = 0;
    // Writes the record anew as a data file; nothing when it holds no data.
    virtual void DataSave(const QString& fileName) = 0;
    virtual void Print() = 0;

    // The head text of the record being loaded (from its first "Head"),
    // given apart from the title, whose file name may hold "Head" too. Set
    // after Load(-1), which forgets it.
    void SetHeadText(const QString& head) { headText_ = head; }

protected:
    // The head text given, else the caption from its first "Head" (the
    // titles of meter logs name no file).
    QString HeadTextOf(const QString& caption) const { return headText_ ? *headText_ : HeadPartOf(caption); }
    void ForgetHeadText() { headText_.reset(); }

private:
    std::optional<QString> headText_;
};
