#pragma once
// TSizeForm: "Video Size of output files", the custom video size dialog. It opens when
// "Custom Size" is picked for the main window's "Video Size" and turns a width and a height
// into a size such as "640x480" in that row. While it shows, the main window is disabled.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class TMainForm;

class TSizeForm : public QDialog
{
    Q_OBJECT
public:
    explicit TSizeForm(TMainForm *mainForm);

    QLabel *labWidth = nullptr;
    QLabel *labHeight = nullptr;
    QLineEdit *edtWidth = nullptr;
    QLineEdit *edtHeight = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;

    void FormShow();
    // Every way of closing passes here (OK, Cancel, Escape, the title bar's button).
    void FormClose();
    void btnOKClick();
    void btnCancelClick();

    void setVisible(bool visible) override;
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    TMainForm *m_main;
};
