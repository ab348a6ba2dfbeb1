// The profile chooser and the profile editors of the main window.
#include "app/ui/mainform.h"

#include "profiles/ui/sizeform.h"
#include "profiles/ui/valuelisteditor.h"

#include <QComboBox>
#include <QFileInfo>

void TMainForm::connectProfileHandlers()
{
    for (TValueListEditor *editor : {vleVideo, vleAudio, vleAdvanced})
        connect(editor, &TValueListEditor::mousePressed, this, &TMainForm::RepaintEditors);
    connect(vleVideo->rows(), &EditorRows::changed, this, &TMainForm::vleVideoStringsChange);
}

void TMainForm::cmbProfileChange()
{
    const QString path = AppDir + QStringLiteral("Profiles/") + cmbProfile->currentText() + QStringLiteral(".apf");
    if (QFileInfo(path).isFile())
        LoadProfileIntoEditors(path);
}

void TMainForm::LoadProfileIntoEditors(const QString &path) { ::LoadProfileIntoEditors(path, editors(), &OutputExt); }

void TMainForm::vleVideoStringsChange()
{
    // Picking "Custom Size" for the video size asks for the size.
    const EditorRows *rows = vleVideo->rows();
    const int current = rows->currentRow();
    if (current < 0 || current >= rows->rowCount())
        return;
    if (rows->row(current).key == QLatin1String("Video Size")
        && rows->value(QStringLiteral("Video Size")) == QLatin1String("Custom Size") && SizeForm)
        SizeForm->show();
}

void TMainForm::RepaintEditors()
{
    // Only the editor with the focus shows its current row's key in blue.
    for (TValueListEditor *editor : {vleOutput, vleVideo, vleAudio, vleAdvanced})
        editor->viewport()->update();
}
