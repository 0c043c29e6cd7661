#include "app/session/Workflow.h"

namespace orven {

void Workflow::DisableAll() {
  StepPending.fill(true);
  StepEnabled.fill(false);
  LabelBlue.fill(false);
  TargetGGroupEnabled = ThinningGroupEnabled = false;
  FinalEnabled = false;
}

void Workflow::EnableStep(int step) {
  if (step < 1 || step > Steps) return;
  if (StepPending[step]) {
    LabelBlue[step] = true;
    if (step > 1) LabelBlue[step - 1] = false;
  } else {
    LabelBlue[step] = false;
  }
  if (step > 1) StepPending[step - 1] = false;
  StepEnabled[step] = true;
}

void Workflow::EnableStep7(bool firstLastPreset) {
  LabelBlue[7] = StepPending[7];
  if (StepPending[7]) LabelBlue[6] = false;
  StepPending[6] = false;
  EnableStep7b(firstLastPreset);
}

void Workflow::EnableStep7b(bool firstLastPreset) {
  StepEnabled[7] = true;
  ThinningGroupEnabled = firstLastPreset;
  TargetGGroupEnabled = !firstLastPreset;
}

bool Workflow::EnableStep8(bool typedValuesExist) {
  if (typedValuesExist) return false;
  if (StepPending[8]) {
    LabelBlue[8] = true;
    LabelBlue[7] = false;
  } else {
    LabelBlue[8] = false;
  }
  StepPending[7] = false;
  StepEnabled[8] = true;
  return true;
}

void Workflow::EnableStepFinalLabels() {
  StepPending[10] = false;
  LabelBlue[10] = false;
  FinalEnabled = true;
}

}  // namespace orven
