#include "app/ui/application.h"

#include "app/ui/mainform.h"
#include "profiles/ui/sizeform.h"
#include "settings/ui/settingform.h"
#include "shell/product.h"
#include "shell/ui/aboutform.h"
#include "shell/ui/processform.h"

#include <QMessageBox>

OrvelleApplication::OrvelleApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool OrvelleApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const AppError &e) {
        ShowErrorMessage(e.text());
    } catch (const std::exception &e) {
        ShowErrorMessage(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ShowErrorMessage(QStringLiteral("An unknown error occurred."));
    }
    return false;
}

void ShowErrorMessage(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, Product::Name, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

OrvelleWindows CreateWindows(const QString &appDir, const QStringList &args)
{
    OrvelleWindows w;
    w.MainForm = new TMainForm(appDir, args);
    w.ProcessForm = new TProcessForm(w.MainForm);
    w.AboutForm = new TAboutForm(w.MainForm);
    w.SettingForm = new TSettingForm(w.MainForm);
    w.SizeForm = new TSizeForm(w.MainForm);
    w.MainForm->ProcessForm = w.ProcessForm;
    w.MainForm->AboutForm = w.AboutForm;
    w.MainForm->SettingForm = w.SettingForm;
    w.MainForm->SizeForm = w.SizeForm;
    return w;
}
