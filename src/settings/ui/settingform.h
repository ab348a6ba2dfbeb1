#pragma once
// TSettingForm: the settings dialog. Its General controls are the live values of the
// preferences: the run reads them directly.
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class TMainForm;

class TSettingForm : public QDialog
{
    Q_OBJECT
public:
    explicit TSettingForm(TMainForm *mainForm);

    QLineEdit *edtOutputDir = nullptr;
    QComboBox *cmbSyn = nullptr;
    QCheckBox *chkOpenDir = nullptr;
    QCheckBox *chkExit = nullptr;
    QCheckBox *chkTurnoff = nullptr;
    QRadioButton *rdbOverWrite = nullptr;
    QRadioButton *rdbRename = nullptr;

private:
    TMainForm *m_main;
};
