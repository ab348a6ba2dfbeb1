// Task list and per-task output options of the main window.
#include "app/ui/mainform.h"

void TMainForm::CommandLineIntake() {}
void TMainForm::AddTaskFile(const QString &) {}
void TMainForm::AddTaskFolder(const QString &) {}
void TMainForm::tbtnAddFileClick() {}
void TMainForm::tbtnAddDirClick() {}
void TMainForm::tbtnRemoveClick() {}
void TMainForm::tbtnClearClick() {}
void TMainForm::tbtnUpClick() {}
void TMainForm::tbtnDownClick() {}
void TMainForm::ltvTaskDblClick() {}
void TMainForm::ltvTaskClick() {}
void TMainForm::DropPaths(const QStringList &) {}
void TMainForm::SetEditorValue(int, const QString &, const QString &) {}
void TMainForm::vleOutputValidate() {}
void TMainForm::vleOutputMouseDown() {}
