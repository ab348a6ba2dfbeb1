// Preferences and the openers of the settings and about dialogs.
#include "app/ui/application.h"
#include "app/ui/mainform.h"
#include "profiles/newinifile.h"
#include "settings/preferences.h"
#include "settings/ui/settingform.h"
#include "shell/ui/aboutform.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolBar>
#include <memory>

void TMainForm::LoadPreferences()
{
    ReportErrors([this] {
        std::unique_ptr<TNewInifile> owned(new TNewInifile(PreferencesPath(AppDir)));
        edtOutputdir->setText(ReadGeneralSettings(*owned, PrefsMainSection, AppDir).outputPath);
        if (cmbProfile->count() > 0) {
            // A position outside the list selects nothing; the handler runs all the same.
            cmbProfile->setCurrentIndex(ReadProfilePosition(*owned));
            cmbProfileChange();
        }
        TNewInifile *store = owned.release();
        SaveAndFree(store);
    });
}

void TMainForm::SavePreferences()
{
    // A failure is shown and the window closes all the same.
    ReportErrors([this] {
        TNewInifile *store = new TNewInifile(PreferencesPath(AppDir));
        GeneralSettings s = SettingForm ? SettingForm->generalSettings()
                                        : ReadGeneralSettings(*store, PrefsMainSection, AppDir);
        s.outputPath = edtOutputdir->text();
        WritePreferences(*store, cmbProfile->currentIndex(), s);
        SaveAndFree(store);
    });
}

void TMainForm::tbtnSettingClick()
{
    if (!SettingForm)
        return;
    SettingForm->show();
    SettingForm->pgcSetting->setCurrentIndex(0);
}

void TMainForm::bbtnSettingClick()
{
    if (!SettingForm)
        return;
    SettingForm->show();
    SettingForm->pgcSetting->setCurrentIndex(1);
    SettingForm->cmbProfile->setCurrentIndex(cmbProfile->currentIndex());
    SettingForm->cmbProfileChange();
}

void TMainForm::tbtnAboutClick()
{
    if (!AboutForm)
        AboutForm = new TAboutForm(this);
    AboutForm->show();
}

void TMainForm::SetMainInputEnabled(bool enabled)
{
    if (!enabled) {
        // Only what is enabled now is disabled, and remembered, so that controls that
        // were disabled for other reasons stay so afterwards.
        const QList<QWidget *> children = findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        for (QWidget *w : children) {
            if (!w->isWindow() && w->isEnabled()) {
                w->setEnabled(false);
                DisabledForDialog.append(w);
            }
        }
        return;
    }
    for (const QPointer<QWidget> &w : std::as_const(DisabledForDialog)) {
        if (w)
            w->setEnabled(true);
    }
    DisabledForDialog.clear();
}

bool TMainForm::MainInputEnabled() const { return centralWidget()->isEnabled() && Toolbar1->isEnabled(); }
