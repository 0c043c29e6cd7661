#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "model/GrowthModel.h"

namespace orven::cli {

// The `model` subcommand: evaluates one routine of the growth model.
enum class CallStatus { Ok, Fault, Error };

struct CallOutcome {
  CallStatus status = CallStatus::Ok;
  std::string text;  // the printed result, or the problem for an error
};

// words[0] is the routine's name, the rest its arguments.
CallOutcome EvaluateModelCall(const GrowthModel& model, const std::vector<std::string>& words);

// One line per routine: its name and its arguments.
void ListModelRoutines(std::ostream& out);

// Evaluates one call per line of `in` (blank lines skipped) and prints one line
// per call: the result, "fault", or "error: " and the problem.
void RunModelBatch(const GrowthModel& model, std::istream& in, std::ostream& out);

}  // namespace orven::cli
