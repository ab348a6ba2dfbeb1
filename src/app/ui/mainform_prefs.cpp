// Preferences and the openers of the settings and about dialogs.
#include "app/ui/mainform.h"

void TMainForm::LoadPreferences() {}
void TMainForm::SavePreferences() {}
void TMainForm::tbtnSettingClick() {}
void TMainForm::bbtnSettingClick() {}
void TMainForm::tbtnAboutClick() {}
