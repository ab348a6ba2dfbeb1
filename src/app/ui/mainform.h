#pragma once
// TMainForm: the main window. Its handlers are spread over files by subsystem:
// mainform.cpp (start-up, layout, output-folder row, help), mainform_tasks.cpp (task
// list, output options), mainform_profiles.cpp (profile chooser and editors),
// mainform_run.cpp (the batch run, its clock and completion), mainform_prefs.cpp
// (preferences and dialog openers), mainform_preview.cpp (the preview pane).
#include "conversion/batchrun.h"
#include "conversion/encoderchannel.h"
#include "conversion/probe.h"
#include "profiles/profiles.h"
#include "tasks/tasklist.h"

#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>

class QAction;
class QComboBox;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QSplitter;
class QTimer;
class QToolBar;
class QToolButton;
class QTreeView;
class QGroupBox;
class QFrame;
class TValueListEditor;
class TSettingForm;
class TSizeForm;
class TAboutForm;
class TProcessForm;

// The splitter bar between the task area and the profile pane: "<>", resize cursor.
class TSplitterBar : public QLabel
{
    Q_OBJECT
public:
    explicit TSplitterBar(QWidget *parent = nullptr);
Q_SIGNALS:
    void dragged(int x, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
};

// A header bar of a fold group; double-clicks are reported.
class THeaderBar : public QFrame
{
    Q_OBJECT
public:
    THeaderBar(const QString &caption, QWidget *parent = nullptr);
    QPushButton *foldButton() const { return m_button; }
Q_SIGNALS:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QPushButton *m_button;
};

class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
    // appDir is the program directory with its trailing separator; args the command
    // line without the program name.
    TMainForm(const QString &appDir, const QStringList &args, QWidget *parent = nullptr);
    ~TMainForm() override;

    // The other windows, set right after they are created.
    TProcessForm *ProcessForm = nullptr;
    TAboutForm *AboutForm = nullptr;
    TSettingForm *SettingForm = nullptr;
    TSizeForm *SizeForm = nullptr;

    // ---- program-wide values
    QString AppDir;
    QString VersionText;
    QString EncoderPath;
    QString OutputExt;
    QString HelpFile;
    int RunState = 0;  // 0 idle, 1 running, 2 stop requested
    QStringList InputExts;
    QString FolderMask;
    QString OpenFilter;
    QStringList CommandLine;        // the command line's path list
    QString CommandLineError;       // why a ".tmp" list could not be read, if it could not

    // ---- controls
    QToolBar *Toolbar1 = nullptr;
    QToolButton *tbtnAddFile = nullptr, *tbtnAddDir = nullptr, *tbtnUp = nullptr, *tbtnDown = nullptr,
                *tbtnRemove = nullptr, *tbtnClear = nullptr, *tbtnStart = nullptr, *tbtnStop = nullptr,
                *tbtnSetting = nullptr, *tbtnAbout = nullptr, *tbtnHelp = nullptr;
    QWidget *panMain = nullptr, *panLeft = nullptr, *panBottom = nullptr;
    QWidget *panBottomCenter = nullptr, *panBottomLeft = nullptr;
    TSplitterBar *panSplitter = nullptr;
    QWidget *panProfile = nullptr, *panRight = nullptr;
    QSplitter *Splitter1 = nullptr;
    QGroupBox *gpbProfile = nullptr;
    QScrollArea *sbxProfile = nullptr;
    THeaderBar *panOutput = nullptr, *panVideo = nullptr, *panAudio = nullptr, *panAdvanced = nullptr;
    QPushButton *btnOutput = nullptr, *btnVideo = nullptr, *btnAudio = nullptr, *btnAdvanced = nullptr;
    TValueListEditor *vleOutput = nullptr, *vleVideo = nullptr, *vleAudio = nullptr, *vleAdvanced = nullptr;
    QTreeView *ltvTask = nullptr;
    int ltvTaskRememberedWidth = 0;
    QLabel *labProfile = nullptr, *labOutputPath = nullptr;
    QComboBox *cmbProfile = nullptr;
    QPushButton *bbtnSetting = nullptr, *bbtnBrowser = nullptr, *bbtnOpen = nullptr;
    QLineEdit *edtOutputdir = nullptr;
    QLabel *labConverting = nullptr, *labConvertingFile = nullptr, *labTimeElapsed = nullptr,
           *labElapsed = nullptr, *labTimeRemaining = nullptr, *labRemaining = nullptr,
           *labCurrentProgress = nullptr, *labCurProgress = nullptr, *labTotalProgressCaption = nullptr,
           *labTotalProgress = nullptr;
    QProgressBar *pgbCurrent = nullptr, *pgbTotal = nullptr;
    QPlainTextEdit *Memo1 = nullptr;  // hidden: the encoder's latest output text
    QTimer *timerTime = nullptr;
    QWidget *panPreview = nullptr;  // filled by the preview pane

    // The task list's store.
    TaskList Tasks;

    ProfileEditors editors() const;

    // ---- start-up and layout (mainform.cpp)
    void FormCreate();
    void FormShow();
    void FormClose();
    void FormResize();
    void ltvTaskResize();
    void panSplitterMouseMove(int x, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    void btnOutputClick();
    void btnVideoClick();
    void btnAudioClick();
    void btnAdvancedClick();
    void bbtnBrowserClick();
    void bbtnOpenClick();
    void tbtnHelpClick();
    // Enables the five list commands when the list has a row (never disables).
    void EnableListCommandsIfAny();
    void SetListCommandsEnabled(bool enabled);

    // ---- task list and output options (mainform_tasks.cpp)
    void CommandLineIntake();
    void AddTaskFile(const QString &path);
    void AddTaskFolder(const QString &folder);
    void tbtnAddFileClick();
    void tbtnAddDirClick();
    void tbtnRemoveClick();
    void tbtnClearClick();
    void tbtnUpClick();
    void tbtnDownClick();
    void ltvTaskDblClick();
    void ltvTaskClick();
    void DropPaths(const QStringList &paths);
    void SetEditorValue(int group, const QString &key, const QString &value);
    void vleOutputValidate();
    void vleOutputMouseDown();
    void connectTaskHandlers();
    // Delete runs Remove and Backspace runs Clear; true when the key was taken.
    bool ltvTaskKeyDown(int key);
    void ppmTaskPopup();
    // Probes a file into the four probe results (all empty when the encoder cannot start).
    void ProbeMediaInfo(const QString &path);
    // Ends the encoder started last.
    void TerminateEncoder();
    QMenu *ppmTask = nullptr;
    QAction *mnuOpen = nullptr, *mnuAddFiles = nullptr, *mnuAddDir = nullptr, *mnuRemove = nullptr,
            *mnuClear = nullptr;
    QString ProbeDuration, ProbeFrameSize, ProbeStart, ProbeEnd;
    EncoderChannel Encoder;  // the encoder started last, by a probe or by the run
    int ProbeTimeoutMs = MediaProber::DefaultTimeoutMs;
    QString LastAddFolder;  // where the open dialog opens next

    // ---- profiles (mainform_profiles.cpp)
    void cmbProfileChange();
    void LoadProfileIntoEditors(const QString &path);
    void vleVideoStringsChange();
    void RepaintEditors();
private:
    void connectProfileHandlers();
public:

    // ---- batch run, clock, completion (mainform_run.cpp)
    void tbtnStartClick();
    void tbtnStopClick();
    void LockControlsForRun();
    void UnlockControlsAfterRun();
    void timerTimeTimer();
    void ConvertTasks(const QString &RunOptions);
    void CompletionActions(int failed, int total);
    // Closing the window during a run: the encoder is stopped before the program ends.
    void StopRunBeforeClose();
    // Every message box of the run goes through here. With MessageHook set (tests), the
    // hook receives the message instead of a modal box.
    void ShowRunMessage(QMessageBox::Icon icon, const QString &caption, const QString &text);
    static std::function<void(QMessageBox::Icon icon, const QString &caption, const QString &text)> MessageHook;
    BatchRun *Run = nullptr;  // made at the first Start
    bool RunClosing = false;  // the window closes while a run is stopped
    RunClock Clock;

    // ---- preferences and dialog openers (mainform_prefs.cpp)
    void LoadPreferences();
    void SavePreferences();
    void tbtnSettingClick();
    void bbtnSettingClick();
    void tbtnAboutClick();
    // While a dialog is shown the main window takes no input: its own controls are
    // disabled (its dialogs, being child windows, stay usable) and enabled again after.
    void SetMainInputEnabled(bool enabled);
    bool MainInputEnabled() const;
    QList<QPointer<QWidget>> DisabledForDialog;  // what SetMainInputEnabled(false) disabled

    // ---- preview (mainform_preview.cpp)
    void CreatePreviewPane();
    void PreviewSelectedTask();
    void StopPreview();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildToolbar();
    void buildMainArea();
    void buildProfilePane();
    void buildBottomRow();
    void connectHandlers();
    void fold(QPushButton *button, TValueListEditor *editor);
    bool m_shownOnce = false;
};
