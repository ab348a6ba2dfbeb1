// The preview pane of the main window.
#include "app/ui/mainform.h"

void TMainForm::CreatePreviewPane() {}
void TMainForm::PreviewSelectedTask() {}
void TMainForm::StopPreview() {}
