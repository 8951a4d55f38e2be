#include "app/ModeList.h"

#include "app/MainWindow.h"
#include "dual/DualPowerProfiles.h"
#include "dual/EnergyRatioEngine.h"
#include "dual/EnergyRatioMode.h"
#include "dual/EnergyRatioWindow.h"
#include "dual/PowerDifferenceWindow.h"
#include "dual/PowerRatioWindow.h"
#include "energy/EnergyMode.h"
#include "energy/EnergyWindow.h"
#include "meterlogs/DeviceFileView.h"
#include "power/PowerMode.h"
#include "power/PowerWindow.h"
#include "state/AppState.h"
#include "viewers/EnergyViewers.h"
#include "viewers/PcFileView.h"
#include "viewers/PowerViewers.h"
#include "viewers/Viewers.h"

void RegisterModes(MainWindow& main, QMdiArea* area) {
    ModeRegistry& r = Modes();
    r.Register(ModeTerminal, main.Terminal());
    r.Register(ModePower, InstallPowerMode(area)->Engine);
    r.Register(ModePowerRatio, InstallPowerRatioMode(area)->Engine);
    r.Register(ModePowerDifference, InstallPowerDifferenceMode(area)->Engine);
    EnergyWindow* energy = InstallEnergyMode(area);
    r.Register(ModeEnergy, energy->Engine);
    r.Register(ModeRapidPulse, energy->Engine);  // the same window, other titles
    r.Register(ModeEnergyRatio, InstallEnergyRatioMode(area)->Engine);
    // The viewers of a former main window went with its area.
    ForgetViewers();
    InstallPowerViewers(area);
    InstallEnergyViewers(area);
    r.Register(ModePcFile, InstallPcFileView(area));
    r.Register(ModeDeviceFile, InstallDeviceFileView(&main));
}

std::vector<std::unique_ptr<Mode>> RegisterWindowlessModes() {
    std::vector<std::unique_ptr<Mode>> engines;
    ModeRegistry& r = Modes();
    auto add = [&](std::unique_ptr<Mode> engine, std::initializer_list<int16_t> codes) {
        for (int16_t code : codes) r.Register(code, *engine);
        engines.push_back(std::move(engine));
    };
    add(std::make_unique<PowerEngine>(kPowerProfile), {ModePower});
    add(std::make_unique<PowerEngine>(kPowerRatioProfile), {ModePowerRatio});
    add(std::make_unique<PowerEngine>(kPowerDifferenceProfile), {ModePowerDifference});
    add(std::make_unique<EnergyEngine>(), {ModeEnergy, ModeRapidPulse});
    add(std::make_unique<EnergyRatioEngine>(), {ModeEnergyRatio});
    return engines;
}
