#pragma once

#include <array>

namespace orven {

// The numbered steps that lead the user through the species, site and
// thinning pages: which step's controls are enabled, and which step numbers
// are blue (to be done next) or grey (done). The view maps each step to its
// controls.
struct Workflow {
  static constexpr int Steps = 10;

  std::array<bool, Steps + 1> StepPending{};  // [1..10]: not yet completed since the reset
  std::array<bool, Steps + 1> StepEnabled{};  // [1..10]: the step's controls are enabled
  std::array<bool, Steps + 1> LabelBlue{};    // [1..10]: the step number is blue, else grey
  bool TargetGGroupEnabled = false;           // step 7, standard regime
  bool ThinningGroupEnabled = false;          // step 7, first and last thinning
  bool FinalEnabled = false;                  // result pages, save and export

  // Everything disabled, step 1 pending (DisableAll).
  void DisableAll();
  // Steps 1..6, 9 and 10 follow one pattern; 7, 8 and the final step have
  // their own rules (EnableStep7, EnableStep8, EnableStepFinal in the session).
  void EnableStep(int step);
  void EnableStep7(bool firstLastPreset);
  // The two step-7 groups swap with the preset approach.
  void EnableStep7b(bool firstLastPreset);
  // Returns false (and does nothing) while typed values exist.
  bool EnableStep8(bool typedValuesExist);
  void EnableStepFinalLabels();
};

}  // namespace orven
