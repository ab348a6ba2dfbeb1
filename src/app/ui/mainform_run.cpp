// The batch run, its clock and the completion actions.
#include "app/ui/mainform.h"

void TMainForm::tbtnStartClick() {}
void TMainForm::tbtnStopClick() {}
void TMainForm::LockControlsForRun() {}
void TMainForm::UnlockControlsAfterRun() {}
void TMainForm::timerTimeTimer() {}
