// The batch run, its clock and the completion actions.
#include "app/ui/mainform.h"

#include "conversion/poweroff.h"
#include "settings/ui/settingform.h"
#include "shell/apperror.h"
#include "shell/product.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>
#include <exception>

std::function<void(QMessageBox::Icon, const QString &, const QString &)> TMainForm::MessageHook;

void TMainForm::ShowRunMessage(QMessageBox::Icon icon, const QString &caption, const QString &text)
{
    if (MessageHook) {
        MessageHook(icon, caption, text);
        return;
    }
    QMessageBox box(icon, caption, text, QMessageBox::Ok, this);
    box.exec();
}

void TMainForm::tbtnStartClick()
{
    if (Run && Run->isRunning())
        return;
    ltvTask->setFocus();
    if (!QFileInfo(edtOutputdir->text()).isDir()) {
        ShowRunMessage(QMessageBox::Information, QStringLiteral("Output path does not exist"),
                       QStringLiteral("The output path does not exist. Please specify another one."));
        edtOutputdir->setFocus();
        return;
    }
    if (Tasks.count() == 0)
        return;
    LockControlsForRun();
    QString RunOptions;
    QString failure;
    try {
        BuildEncoderOptions(ProfilePath(AppDir, cmbProfile->currentText()), editors(), RunOptions);
    } catch (const AppError &e) {
        failure = e.text();
    } catch (const std::exception &e) {
        failure = QString::fromLocal8Bit(e.what());
    }
    if (!failure.isNull()) {
        // No run: the window is given back as it was.
        ShowRunMessage(QMessageBox::Critical, Product::Name, failure);
        UnlockControlsAfterRun();
        return;
    }
    ConvertTasks(RunOptions);
}

void TMainForm::ConvertTasks(const QString &RunOptions)
{
    labConvertingFile->clear();
    labElapsed->clear();
    labRemaining->clear();
    pgbCurrent->setValue(0);
    pgbTotal->setValue(0);
    labCurProgress->setText(QStringLiteral("0%"));
    labTotalProgress->setText(QStringLiteral("0%"));
    panBottomCenter->hide();
    panBottomLeft->show();
    RunState = 1;
    Clock.reset();
    timerTime->start();

    if (!Run) {
        Run = new BatchRun(Tasks, this);
        connect(Run, &BatchRun::taskStarted, this,
                [this](int, const QString &fileName) { labConvertingFile->setText(fileName); });
        connect(Run, &BatchRun::commandLine, this, [this](int, const QString &text) { Memo1->setPlainText(text); });
        connect(Run, &BatchRun::outputRead, this, [this](const QString &text) { Memo1->setPlainText(text); });
        connect(Run, &BatchRun::progressChanged, this, [this](int current, int total) {
            pgbCurrent->setValue(current);
            pgbTotal->setValue(total);
            labCurProgress->setText(QString::number(pgbCurrent->value()) + QLatin1Char('%'));
            labTotalProgress->setText(QString::number(pgbTotal->value()) + QLatin1Char('%'));
        });
        connect(Run, &BatchRun::errorMessage, this,
                [this](const QString &text) { ShowRunMessage(QMessageBox::NoIcon, Product::Name, text); });
        connect(Run, &BatchRun::runFinished, this, [this](BatchRun::Outcome outcome, int failed, int total) {
            timerTime->stop();
            if (RunClosing) {
                RunState = 0;
                return;
            }
            if (outcome == BatchRun::Completed) {
                CompletionActions(failed, total);
                return;
            }
            if (outcome == BatchRun::Stopped)
                ShowRunMessage(QMessageBox::Information, QStringLiteral("Cancel"),
                               QStringLiteral("The Coversion is canceled."));
            panBottomLeft->hide();
            panBottomCenter->show();
            RunState = 0;
            UnlockControlsAfterRun();
        });
    }

    BatchRunConfig config;
    config.EncoderPath = EncoderPath;
    config.OutputFolder = edtOutputdir->text();
    config.OutputExt = OutputExt;
    config.RunOptions = RunOptions;
    config.RenameSetting = [this] { return SettingForm && SettingForm->rdbRename->isChecked(); };
    Run->start(config);
}

void TMainForm::CompletionActions(int failed, int total)
{
    timerTime->stop();
    if (SettingForm && SettingForm->chkTurnoff->isChecked()) {
        ShutDownComputer();
        close();
        return;
    }
    if (SettingForm && SettingForm->chkExit->isChecked()) {
        close();
        return;
    }
    if (failed == 0)
        ShowRunMessage(QMessageBox::Information, QStringLiteral("Complete"),
                       QStringLiteral("The coversion is completed successfully."));
    else
        ShowRunMessage(QMessageBox::Information, QStringLiteral("Complete"),
                       QStringLiteral("The conversion is completed, but %1 of %2 files failed.").arg(failed).arg(total));
    if (SettingForm && SettingForm->chkOpenDir->isChecked())
        QDesktopServices::openUrl(QUrl::fromLocalFile(edtOutputdir->text()));
    RunState = 0;
    panBottomLeft->hide();
    panBottomCenter->show();
    UnlockControlsAfterRun();
}

void TMainForm::tbtnStopClick()
{
    if (RunState != 1)
        return;
    RunState = 2;
    if (Run)
        Run->stop();
}

void TMainForm::StopRunBeforeClose()
{
    if (!Run || !Run->isRunning())
        return;
    RunClosing = true;
    Run->stopAndWait();
    RunClosing = false;
}

// The controls a run disables, and gives back when it ends.
static QList<QWidget *> RunLockedControls(TMainForm *f)
{
    return {f->tbtnAddFile, f->tbtnAddDir, f->tbtnUp,  f->tbtnDown,    f->tbtnRemove, f->tbtnClear,
            f->tbtnStart,   f->tbtnSetting, f->ltvTask, f->panSplitter, f->gpbProfile};
}

void TMainForm::LockControlsForRun()
{
    StopPreview();
    for (QWidget *w : RunLockedControls(this))
        w->setEnabled(false);
    tbtnStop->setEnabled(true);
}

void TMainForm::UnlockControlsAfterRun()
{
    for (QWidget *w : RunLockedControls(this))
        w->setEnabled(true);
    tbtnStop->setEnabled(false);
}

void TMainForm::timerTimeTimer()
{
    Clock.tick(pgbTotal->value());
    labElapsed->setText(Clock.elapsedText());
    labRemaining->setText(Clock.remainingText());
}
