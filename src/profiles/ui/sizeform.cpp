#include "profiles/ui/sizeform.h"

#include "app/ui/mainform.h"
#include "profiles/ui/valuelisteditor.h"
#include "shell/strconv.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>

namespace {
const QString VideoSize = QStringLiteral("Video Size");

void ShowInformation(QWidget *parent, const QString &caption, const QString &text)
{
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, parent);
    box.exec();
}
}  // namespace

TSizeForm::TSizeForm(TMainForm *mainForm) : QDialog(mainForm), m_main(mainForm)
{
    setWindowTitle(QStringLiteral("Video Size of output files"));
    setFixedSize(336, 106);
    labWidth = new QLabel(QStringLiteral("Width:"), this);
    labWidth->setGeometry(24, 22, 50, 17);
    edtWidth = new QLineEdit(this);
    edtWidth->setGeometry(80, 19, 121, 21);
    labHeight = new QLabel(QStringLiteral("Height:"), this);
    labHeight->setGeometry(24, 62, 50, 17);
    edtHeight = new QLineEdit(this);
    edtHeight->setGeometry(80, 59, 121, 21);
    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnOK->setGeometry(232, 17, 75, 25);
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setGeometry(232, 57, 75, 25);
    connect(btnOK, &QPushButton::clicked, this, &TSizeForm::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &TSizeForm::btnCancelClick);
}

void TSizeForm::setVisible(bool visible)
{
    // Centred over the main window each time it opens.
    if (visible && !isVisible() && m_main) {
        const QRect main = m_main->frameGeometry();
        move(main.center() - QPoint(width() / 2, height() / 2));
    }
    QDialog::setVisible(visible);
}

void TSizeForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TSizeForm::FormShow()
{
    // The main window is disabled so the dialog behaves as a modal one; the dialog, a
    // window of its own, stays usable.
    m_main->setEnabled(false);
    setEnabled(true);
    edtWidth->setFocus();
}

void TSizeForm::btnOKClick()
{
    if (!StrToIntStrict(edtWidth->text())) {
        ShowInformation(this, QStringLiteral("Incorrect Width"),
                        QStringLiteral("Please specify a proper width for output videos."));
        edtWidth->setFocus();
        return;
    }
    if (!StrToIntStrict(edtHeight->text())) {
        ShowInformation(this, QStringLiteral("Incorrect Height"),
                        QStringLiteral("Please specify a proper height for output videos."));
        edtHeight->setFocus();
        return;
    }
    // The texts as typed, not the parsed numbers.
    m_main->vleVideo->setValue(VideoSize, edtWidth->text() + QLatin1Char('x') + edtHeight->text());
    accept();
}

void TSizeForm::btnCancelClick() { reject(); }

void TSizeForm::done(int result)
{
    const bool wasVisible = isVisible();
    QDialog::done(result);
    if (wasVisible)
        FormClose();
}

void TSizeForm::FormClose()
{
    if (m_main->vleVideo->value(VideoSize) == QLatin1String("Custom Size"))
        m_main->vleVideo->setValue(VideoSize, QStringLiteral("Original Size"));
    m_main->setEnabled(true);
}
