// make-provisional-parameters OUTPUT_PATH
//
// Writes ORVEN's provisional parameter data file: the hand-chosen starting
// coefficients of the calibration (tools/calibrate/StartingCoefficients.h),
// unfitted. The program reads this file until the calibrated candidate
// passes every check in its place; data/OrvenPar.drc is this program's output
// and a test keeps the two identical.

#include <iostream>

#include "calibrate/ParameterFileWriter.h"
#include "calibrate/StartingCoefficients.h"

int main(int argc, char** argv) {
  using namespace orven::calibrate;
  if (argc != 2) {
    std::cerr << "usage: make-provisional-parameters OUTPUT_PATH\n";
    return 2;
  }
  orven::ParameterStore store;
  for (const SpeciesCoefficients& s : Starting) Load(store.ModelParameters[s.code], s);
  return WriteFile(argv[1], EncodeParameterFile(store)) ? 0 : 1;
}
