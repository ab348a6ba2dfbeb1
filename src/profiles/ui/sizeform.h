#pragma once
// TSizeForm: "Video Size of output files", the custom video size dialog.
#include <QDialog>

class QLineEdit;
class TMainForm;

class TSizeForm : public QDialog
{
    Q_OBJECT
public:
    explicit TSizeForm(TMainForm *mainForm);
    QLineEdit *edtWidth = nullptr;
    QLineEdit *edtHeight = nullptr;

private:
    TMainForm *m_main;
};
