#pragma once

class PowerViewer;
class EnergyViewer;
class EnergyRatioViewer;

// Opens the stability window of a viewer: the figures of the interval shown
// (a zoom narrows it), or of the whole record of an energy viewer.
void ShowViewerStability(PowerViewer& viewer);
void ShowViewerStability(EnergyViewer& viewer);
void ShowViewerStability(EnergyRatioViewer& viewer);
