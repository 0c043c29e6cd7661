#pragma once

namespace orven {

// Volume definitions: total volume, or merchantable volume to a top diameter.
enum VolumeDefinitionCode : int {
  TotalVolume = 0,
  MerchantableTo5cm = 1,
  MerchantableTo7cm = 2,
  MerchantableTo10cm = 3,
};

// Single-tree volumes (built-in coefficients). Diameters d and Dg are in
// metres, heights in m, volumes in m3 per tree. The functions do not catch
// floating-point faults; arguments in their domain raise none.

// Volume of one tree: the small-tree formula below 3 m (total volume only,
// merchantable volume 0), otherwise the species' function. 0 for an unknown
// species or definition.
double TreeVolume(int volumeDefinition, int species, double d, double h, double Dg);

// Top diameter of a definition in m: 0, 0.05, 0.07, 0.10; 0 for any other.
double MerchDiameterLimit(int volumeDefinition);

double SmallTreeVolume(double d, double h);

// The height at which TreeVolume reaches v (secant search); the sentinel when
// the arguments are out of range or the search does not converge.
double HeightForTreeVolume(int volumeDefinition, int species, double v, double d, double Dg);

}  // namespace orven
