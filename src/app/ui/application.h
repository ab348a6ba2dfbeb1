#pragma once
// The application object, the creation of the windows, and the last-chance handler:
// an error that no handler catches is shown in a message box and the program goes on.
#include <QApplication>
#include <QStringList>

class TMainForm;
class TProcessForm;
class TAboutForm;
class TSettingForm;
class TSizeForm;

class OrvelleApplication : public QApplication
{
    Q_OBJECT
public:
    OrvelleApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

// Shows an error's text in a message box over the active window.
void ShowErrorMessage(const QString &text);

// Runs an action and reports any error it raises in a message box; true when it ran through.
template <typename F> bool ReportErrors(F &&action);

struct OrvelleWindows
{
    TMainForm *MainForm = nullptr;
    TProcessForm *ProcessForm = nullptr;
    TAboutForm *AboutForm = nullptr;
    TSettingForm *SettingForm = nullptr;
    TSizeForm *SizeForm = nullptr;
};

// Creates every window in order (main, process, about, settings, size) and links them.
// The caller owns the main window; the others are its children.
OrvelleWindows CreateWindows(const QString &appDir, const QStringList &args);

#include "shell/apperror.h"
#include <exception>

template <typename F> bool ReportErrors(F &&action)
{
    try {
        action();
        return true;
    } catch (const AppError &e) {
        ShowErrorMessage(e.text());
    } catch (const std::exception &e) {
        ShowErrorMessage(QString::fromLocal8Bit(e.what()));
    }
    return false;
}
