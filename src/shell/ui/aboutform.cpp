#include "shell/ui/aboutform.h"

#include "app/ui/mainform.h"

TAboutForm::TAboutForm(TMainForm *mainForm) : QDialog(mainForm), m_main(mainForm)
{
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(503, 290);
}
