#pragma once
// TAboutForm: the about dialog.
#include <QDialog>

class TMainForm;

class TAboutForm : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutForm(TMainForm *mainForm);

private:
    TMainForm *m_main;
};
