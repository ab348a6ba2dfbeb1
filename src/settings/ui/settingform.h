#pragma once
// TSettingForm: the settings dialog. Its General controls are the live values of the
// preferences: the run reads them directly, and the main window saves them at exit.
// Its Profiles page edits a profile's choices in three editors of its own.
#include "profiles/profiles.h"
#include "settings/preferences.h"

#include <QDialog>
#include <QPointer>
#include <functional>

class QCheckBox;
class QComboBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTabWidget;
class QToolButton;
class TMainForm;
class THeaderBar;
class TValueListEditor;

class TSettingForm : public QDialog
{
    Q_OBJECT
public:
    explicit TSettingForm(TMainForm *mainForm);

    // ---- controls
    QTabWidget *pgcSetting = nullptr;
    QWidget *tabGeneral = nullptr, *tabProfiles = nullptr;
    QPushButton *btnDefault = nullptr, *btnOK = nullptr, *btnCancel = nullptr;
    // General page
    QLabel *labOutputDir = nullptr, *labSyn = nullptr;
    QLineEdit *edtOutputDir = nullptr;
    QToolButton *sbtnBrowse = nullptr;
    QComboBox *cmbSyn = nullptr;
    QCheckBox *chkOpenDir = nullptr;
    QCheckBox *chkExit = nullptr;
    QCheckBox *chkTurnoff = nullptr;
    QGroupBox *gpbOverwrite = nullptr;
    QRadioButton *rdbOverWrite = nullptr;
    QRadioButton *rdbRename = nullptr;
    // Profiles page
    QComboBox *cmbProfile = nullptr;
    QPushButton *btnSaveAs = nullptr;
    QScrollArea *sbxProfile = nullptr;
    THeaderBar *panVideo = nullptr, *panAudio = nullptr, *panAdvanced = nullptr;
    QPushButton *btnVideo = nullptr, *btnAudio = nullptr, *btnAdvanced = nullptr;
    TValueListEditor *vleVideo = nullptr, *vleAudio = nullptr, *vleAdvanced = nullptr;

    // How the two pickers are run; tests put their own answers here.
    // The save dialog comes configured (filter, default suffix, no overwrite question);
    // the result is the chosen file, empty when cancelled.
    std::function<QString(QFileDialog &dialog)> RunSaveDialog;
    // A folder picker as BrowseForFolder: true and the folder when one was chosen.
    std::function<bool(QWidget *owner, const QString &title, QString &folder)> BrowseFolder;

    ProfileEditors editors() const;
    // AppDir + "Profiles/" + the chooser's text + ".apf".
    QString ProfilePath() const;

    // The General controls as settings (Output Path from edtOutputDir), and back.
    GeneralSettings generalSettings() const;
    void setGeneralSettings(const GeneralSettings &s);

    // ---- handlers
    void FormCreate();
    void FormShow();
    void FormClose();
    void btnOKClick();
    void btnCancelClick();
    void btnDefaultClick();
    void sbtnBrowseClick();
    void cmbProfileChange();
    void btnSaveAsClick();
    void btnVideoClick();
    void btnAudioClick();
    void btnAdvancedClick();
    void vleVideoMouseDown();
    void vleAudioMouseDown();
    void vleAdvancedMouseDown();

    // ---- preferences and profiles. These raise the store's errors (FileError,
    // ListIndexError); the handlers above report them.
    // "Main" of "Preferences.ini" into the General controls (not edtOutputDir).
    void LoadSettings();
    // The General controls into "Main" (without "Profile").
    void SaveSettings();
    // Fills the three editors from the profile at path; a missing file changes nothing.
    void LoadProfileIntoEditors(const QString &path);
    void SaveEditorsToProfile(const QString &path);
    void SaveProfileAs(const QString &source, const QString &target);
    // Repaints the three editors (after a mouse press in any of them).
    void RepaintEditors();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void buildGeneralPage();
    void buildProfilesPage();
    QPointer<TMainForm> m_main;
    QString m_appDir;
};
