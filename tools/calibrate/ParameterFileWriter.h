#pragma once

#include <string>

#include "model/ParameterStore.h"

namespace orven::calibrate {

// The records of the parameter data file for the seven species: every
// coefficient the model reads, with the species' three names.
std::string EncodeParameterFile(const ParameterStore& store);

// Writes the bytes, or removes a half-written file and says why.
bool WriteFile(const std::string& path, const std::string& bytes);

}  // namespace orven::calibrate
