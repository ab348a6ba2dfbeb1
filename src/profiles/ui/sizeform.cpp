#include "profiles/ui/sizeform.h"

#include "app/ui/mainform.h"

#include <QLineEdit>

TSizeForm::TSizeForm(TMainForm *mainForm) : QDialog(mainForm), m_main(mainForm)
{
    setWindowTitle(QStringLiteral("Video Size of output files"));
    setFixedSize(336, 106);
    edtWidth = new QLineEdit(this);
    edtHeight = new QLineEdit(this);
}
