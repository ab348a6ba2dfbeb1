// The profile chooser and the profile editors of the main window.
#include "app/ui/mainform.h"

void TMainForm::cmbProfileChange() {}
void TMainForm::LoadProfileIntoEditors(const QString &) {}
void TMainForm::vleVideoStringsChange() {}
void TMainForm::RepaintEditors() {}
