#include "shell/ui/processform.h"

#include <QPushButton>

TProcessForm::TProcessForm(QWidget *mainForm) : QDialog(mainForm)
{
    setWindowTitle(QStringLiteral("Process"));
    setFixedSize(650, 287);
    btnStop = new QPushButton(QStringLiteral("Stop"), this);
    btnStop->setGeometry(560, 250, 75, 25);
}
