#include "settings/ui/settingform.h"

#include "app/ui/mainform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

TSettingForm::TSettingForm(TMainForm *mainForm) : QDialog(mainForm), m_main(mainForm)
{
    setWindowTitle(QStringLiteral("Settings"));
    auto *column = new QVBoxLayout(this);
    edtOutputDir = new QLineEdit(this);
    cmbSyn = new QComboBox(this);
    cmbSyn->addItems({QStringLiteral("Auto"), QStringLiteral("Force Mode"), QStringLiteral("Progressive Mode")});
    chkOpenDir = new QCheckBox(QStringLiteral("Open the output directory when the task is completed. "), this);
    chkExit = new QCheckBox(QStringLiteral("Exit the program when the task is completed."), this);
    chkTurnoff = new QCheckBox(QStringLiteral("Turn off the computer when the task is completed."), this);
    rdbOverWrite = new QRadioButton(QStringLiteral("Overwrite"), this);
    rdbRename = new QRadioButton(QStringLiteral("Not overwrite (Rename to <Filename> + Index"), this);
    for (QWidget *w : std::initializer_list<QWidget *>{edtOutputDir, cmbSyn, chkOpenDir, chkExit, chkTurnoff,
                                                       rdbOverWrite, rdbRename})
        column->addWidget(w);
    cmbSyn->setCurrentIndex(0);
    chkOpenDir->setChecked(true);
    rdbOverWrite->setChecked(true);
}
