#include "settings/ui/settingform.h"

#include "app/ui/application.h"
#include "app/ui/mainform.h"
#include "profiles/newinifile.h"
#include "profiles/ui/editorstack.h"
#include "profiles/ui/valuelisteditor.h"
#include "shell/apperror.h"
#include "shell/ui/folderpicker.h"
#include "tasks/taskrecord.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int kKeyColumnWidth = 160;

void fitHeight(TValueListEditor *editor)
{
    editor->rows()->setHeight((EditorRows::RowHeight + 1) * editor->rows()->shownRowCount());
}
}  // namespace

TSettingForm::TSettingForm(TMainForm *mainForm) : QDialog(mainForm), m_main(mainForm), m_appDir(mainForm->AppDir)
{
    setWindowTitle(QStringLiteral("Settings"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QFont f = font();
    f.setPointSize(8);
    setFont(f);
    setFixedSize(391, 498);

    pgcSetting = new QTabWidget(this);
    pgcSetting->setGeometry(4, 4, 383, 452);
    tabGeneral = new QWidget;
    tabProfiles = new QWidget;
    pgcSetting->addTab(tabGeneral, QStringLiteral("     General     "));
    pgcSetting->addTab(tabProfiles, QStringLiteral("     Profiles     "));
    buildGeneralPage();
    buildProfilesPage();

    btnDefault = new QPushButton(QStringLiteral("&Load Default"), this);
    btnDefault->setGeometry(8, 464, 95, 25);
    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnOK->setGeometry(220, 464, 75, 25);
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setGeometry(305, 464, 75, 25);

    RunSaveDialog = [](QFileDialog &dialog) {
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    BrowseFolder = [](QWidget *owner, const QString &title, QString &folder) {
        return BrowseForFolder(owner, title, QString(), folder);
    };

    connect(btnOK, &QPushButton::clicked, this, &TSettingForm::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &TSettingForm::btnCancelClick);
    connect(btnDefault, &QPushButton::clicked, this, &TSettingForm::btnDefaultClick);
    connect(sbtnBrowse, &QToolButton::clicked, this, &TSettingForm::sbtnBrowseClick);
    connect(cmbProfile, qOverload<int>(&QComboBox::activated), this, [this](int) { cmbProfileChange(); });
    connect(btnSaveAs, &QPushButton::clicked, this, &TSettingForm::btnSaveAsClick);
    connect(btnVideo, &QPushButton::clicked, this, &TSettingForm::btnVideoClick);
    connect(btnAudio, &QPushButton::clicked, this, &TSettingForm::btnAudioClick);
    connect(btnAdvanced, &QPushButton::clicked, this, &TSettingForm::btnAdvancedClick);
    connect(vleVideo, &TValueListEditor::mousePressed, this, &TSettingForm::vleVideoMouseDown);
    connect(vleAudio, &TValueListEditor::mousePressed, this, &TSettingForm::vleAudioMouseDown);
    connect(vleAdvanced, &TValueListEditor::mousePressed, this, &TSettingForm::vleAdvancedMouseDown);
    FormCreate();
}

void TSettingForm::buildGeneralPage()
{
    auto *grid = new QGridLayout(tabGeneral);
    grid->setContentsMargins(12, 16, 12, 12);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(10);
    labOutputDir = new QLabel(QStringLiteral("Default Output Path:"), tabGeneral);
    edtOutputDir = new QLineEdit(tabGeneral);
    sbtnBrowse = new QToolButton(tabGeneral);
    sbtnBrowse->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    sbtnBrowse->setFixedSize(23, 22);
    sbtnBrowse->setAutoRaise(true);
    sbtnBrowse->setToolTip(QStringLiteral("Select the output directory."));
    grid->addWidget(labOutputDir, 0, 0);
    grid->addWidget(edtOutputDir, 0, 1);
    grid->addWidget(sbtnBrowse, 0, 2);

    labSyn = new QLabel(QStringLiteral("Synchronization Mode:"), tabGeneral);
    cmbSyn = new QComboBox(tabGeneral);
    cmbSyn->addItems({QStringLiteral("Auto"), QStringLiteral("Force Mode"), QStringLiteral("Progressive Mode")});
    auto *synRow = new QHBoxLayout;
    synRow->addWidget(cmbSyn);
    synRow->addStretch(1);
    grid->addWidget(labSyn, 1, 0);
    grid->addLayout(synRow, 1, 1, 1, 2);

    chkOpenDir = new QCheckBox(QStringLiteral("Open the output directory when the task is completed. "), tabGeneral);
    chkExit = new QCheckBox(QStringLiteral("Exit the program when the task is completed."), tabGeneral);
    chkTurnoff = new QCheckBox(QStringLiteral("Turn off the computer when the task is completed."), tabGeneral);
    grid->addWidget(chkOpenDir, 2, 0, 1, 3);
    grid->addWidget(chkExit, 3, 0, 1, 3);
    grid->addWidget(chkTurnoff, 4, 0, 1, 3);

    gpbOverwrite = new QGroupBox(QStringLiteral("Output File Overwrite"), tabGeneral);
    auto *groupColumn = new QVBoxLayout(gpbOverwrite);
    rdbOverWrite = new QRadioButton(QStringLiteral("Overwrite"), gpbOverwrite);
    rdbRename = new QRadioButton(QStringLiteral("Not overwrite (Rename to <Filename> + Index"), gpbOverwrite);
    groupColumn->addWidget(rdbOverWrite);
    groupColumn->addWidget(rdbRename);
    grid->addWidget(gpbOverwrite, 5, 0, 1, 3);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(1, 1);

    // The built-in values, until the preferences are read.
    cmbSyn->setCurrentIndex(0);
    chkOpenDir->setChecked(true);
    rdbOverWrite->setChecked(true);
}

void TSettingForm::buildProfilesPage()
{
    auto *column = new QVBoxLayout(tabProfiles);
    column->setContentsMargins(6, 8, 6, 6);
    column->setSpacing(6);
    auto *chooserRow = new QHBoxLayout;
    cmbProfile = new QComboBox(tabProfiles);
    btnSaveAs = new QPushButton(QStringLiteral("&Save as..."), tabProfiles);
    btnSaveAs->setFixedSize(75, 25);
    chooserRow->addWidget(cmbProfile, 1);
    chooserRow->addWidget(btnSaveAs);
    column->addLayout(chooserRow);

    // Only the small buttons fold here; a double-click on a header bar does nothing.
    auto *stack = new TEditorStack(tabProfiles);
    sbxProfile = stack;
    vleVideo = stack->addGroup(QStringLiteral("Video"), DefaultVideoKeys(), &panVideo, kKeyColumnWidth);
    vleAudio = stack->addGroup(QStringLiteral("Audio"), DefaultAudioKeys(), &panAudio, kKeyColumnWidth);
    vleAdvanced = stack->addGroup(QStringLiteral("Advanced"), DefaultAdvancedKeys(), &panAdvanced, kKeyColumnWidth);
    btnVideo = panVideo->foldButton();
    btnAudio = panAudio->foldButton();
    btnAdvanced = panAdvanced->foldButton();
    stack->finish();
    column->addWidget(sbxProfile, 1);
}

ProfileEditors TSettingForm::editors() const
{
    return ProfileEditors{vleVideo->rows(), vleAudio->rows(), vleAdvanced->rows()};
}

QString TSettingForm::ProfilePath() const
{
    return ::ProfilePath(m_appDir, cmbProfile->currentText());
}

GeneralSettings TSettingForm::generalSettings() const
{
    GeneralSettings s;
    s.outputPath = edtOutputDir->text();
    s.synMode = cmbSyn->currentIndex();
    s.openDir = chkOpenDir->isChecked();
    s.exitApp = chkExit->isChecked();
    s.turnOff = chkTurnoff->isChecked();
    s.overwrite = rdbOverWrite->isChecked();
    return s;
}

void TSettingForm::setGeneralSettings(const GeneralSettings &s)
{
    edtOutputDir->setText(s.outputPath);
    // A position outside the list leaves the chooser without a selection.
    cmbSyn->setCurrentIndex(s.synMode);
    chkOpenDir->setChecked(s.openDir);
    chkExit->setChecked(s.exitApp);
    chkTurnoff->setChecked(s.turnOff);
    // The two radio buttons are always each other's opposite.
    (s.overwrite ? rdbOverWrite : rdbRename)->setChecked(true);
}

void TSettingForm::FormCreate()
{
    for (int i = 0; i < m_main->cmbProfile->count(); ++i)
        cmbProfile->addItem(m_main->cmbProfile->itemText(i));
    cmbProfile->setCurrentIndex(-1);
    ReportErrors([this] { LoadSettings(); });
}

void TSettingForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TSettingForm::done(int result)
{
    QDialog::done(result);
    FormClose();
}

void TSettingForm::FormShow()
{
    if (!m_main)
        return;
    m_main->SetMainInputEnabled(false);
    edtOutputDir->setText(m_main->edtOutputdir->text());
}

void TSettingForm::FormClose()
{
    if (m_main)
        m_main->SetMainInputEnabled(true);
}

void TSettingForm::LoadSettings()
{
    TNewInifile *store = new TNewInifile(PreferencesPath(m_appDir));
    GeneralSettings s = ReadGeneralSettings(*store, PrefsMainSection, m_appDir);
    // The output folder is not loaded here: showing the dialog copies the main window's.
    s.outputPath = edtOutputDir->text();
    setGeneralSettings(s);
    SaveAndFree(store);
}

void TSettingForm::SaveSettings()
{
    TNewInifile *store = new TNewInifile(PreferencesPath(m_appDir));
    WriteSettings(*store, generalSettings());
    SaveAndFree(store);
}

void TSettingForm::btnDefaultClick()
{
    const auto answer = QMessageBox::question(this, QStringLiteral("Load Default"),
                                              QStringLiteral("Are you sure to load the default preferences?"),
                                              QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes)
        return;
    ReportErrors([this] {
        TNewInifile *store = new TNewInifile(PreferencesPath(m_appDir));
        setGeneralSettings(ReadGeneralSettings(*store, PrefsDefaultSection, m_appDir));
        SaveAndFree(store);
    });
}

void TSettingForm::btnOKClick()
{
    const bool saved = ReportErrors([this] {
        if (m_main)
            m_main->edtOutputdir->setText(edtOutputDir->text());
        SaveSettings();
        const QString path = ProfilePath();
        if (QFileInfo(path).isFile())
            SaveEditorsToProfile(path);
        // The main window shows the profile just written: it reloads it.
        if (m_main && m_main->cmbProfile->currentText() == cmbProfile->currentText())
            m_main->cmbProfileChange();
    });
    // A failed save keeps the dialog open, so the user sees that nothing was kept.
    if (saved)
        close();
}

void TSettingForm::btnCancelClick() { close(); }

void TSettingForm::sbtnBrowseClick()
{
    QString folder;
    if (BrowseFolder(this, QStringLiteral("Select the output directory."), folder))
        edtOutputDir->setText(AddTrailingBackslash(folder));
}

void TSettingForm::cmbProfileChange()
{
    const QString path = ProfilePath();
    if (QFileInfo(path).isFile())
        ReportErrors([&] { LoadProfileIntoEditors(path); });
}

void TSettingForm::LoadProfileIntoEditors(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return;
    try {
        ::LoadProfileIntoEditors(path, editors(), nullptr);
    } catch (const FileError &) {
        // Every row is loaded; only the rewrite of the file failed. The editors show
        // what they hold.
        for (TValueListEditor *e : {vleVideo, vleAudio, vleAdvanced})
            fitHeight(e);
        throw;
    }
}

void TSettingForm::SaveEditorsToProfile(const QString &path) { ::SaveEditorsToProfile(path, editors()); }

void TSettingForm::SaveProfileAs(const QString &source, const QString &target)
{
    const QFileInfo from(source);
    if (!from.isFile())
        return;
    // Saving a profile onto itself must not copy it over itself (which would lose it):
    // the choices are written into it as "&OK" does.
    const QFileInfo to(target);
    if (to.exists() && to.canonicalFilePath() == from.canonicalFilePath()) {
        SaveEditorsToProfile(target);
        return;
    }
    ::SaveProfileAs(source, target, editors());
}

void TSettingForm::btnSaveAsClick()
{
    QFileDialog dialog(this, QStringLiteral("Save As"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("Profiles (*.apf)"));
    dialog.setDefaultSuffix(QStringLiteral("apf"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QString target = RunSaveDialog(dialog);
    if (target.isEmpty())
        return;
    ReportErrors([&] { SaveProfileAs(ProfilePath(), target); });
}

void TSettingForm::btnVideoClick() { FoldEditor(btnVideo, vleVideo); }
void TSettingForm::btnAudioClick() { FoldEditor(btnAudio, vleAudio); }
void TSettingForm::btnAdvancedClick() { FoldEditor(btnAdvanced, vleAdvanced); }

void TSettingForm::RepaintEditors()
{
    for (TValueListEditor *e : {vleVideo, vleAudio, vleAdvanced})
        e->viewport()->repaint();
}

void TSettingForm::vleVideoMouseDown() { RepaintEditors(); }
void TSettingForm::vleAudioMouseDown() { RepaintEditors(); }
void TSettingForm::vleAdvancedMouseDown() { RepaintEditors(); }
