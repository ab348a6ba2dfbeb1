#pragma once
// TProcessForm: a small window with a "Stop" button, created with the others and never shown.
#include <QDialog>

class QPushButton;

class TProcessForm : public QDialog
{
    Q_OBJECT
public:
    explicit TProcessForm(QWidget *mainForm);
    QPushButton *btnStop = nullptr;
};
