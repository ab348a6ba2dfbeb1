// Task list and per-task output options of the main window.
#include "app/ui/mainform.h"

#include "profiles/ui/valuelisteditor.h"
#include "shell/startup.h"
#include "shell/ui/folderpicker.h"
#include "tasks/taskops.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QTreeView>
#include <functional>

namespace {
// Routes the events of one widget to a function; the function returns true to eat one.
class EventHook : public QObject
{
public:
    using Handler = std::function<bool(QEvent *)>;
    EventHook(QObject *watched, Handler handler) : QObject(watched), m_handler(std::move(handler))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override { return m_handler(event); }

private:
    Handler m_handler;
};

const QString KeyNewFilename = QStringLiteral("New FileName");
const QString KeyStartTime = QStringLiteral("Start Time");
const QString KeyEndTime = QStringLiteral("End Time");

TaskAdder makeAdder(TMainForm &form)
{
    TaskAdder adder(form.Tasks, [&form](const QString &path) {
        form.ProbeMediaInfo(path);
        return ProbeResults{form.ProbeDuration, form.ProbeFrameSize, form.ProbeStart, form.ProbeEnd};
    });
    adder.inputExts = form.InputExts;
    adder.folderMask = form.FolderMask;
    adder.outputExt = [&form] { return form.OutputExt; };
    // The window stays responsive while a folder is added; a run that starts meanwhile
    // ends the add, so that no probe runs beside the conversion.
    adder.beforeFolderFile = [&form] {
        QCoreApplication::processEvents();
        return form.RunState == 0 && form.ltvTask->isEnabledTo(&form);
    };
    return adder;
}
}  // namespace

void TMainForm::connectTaskHandlers()
{
    ppmTask = new QMenu(this);
    mnuOpen = ppmTask->addAction(QStringLiteral("Open"), this, &TMainForm::ltvTaskDblClick);
    ppmTask->addSeparator();
    mnuAddFiles = ppmTask->addAction(QStringLiteral("Add Files..."), this, &TMainForm::tbtnAddFileClick);
    mnuAddDir = ppmTask->addAction(QStringLiteral("Add Directorys..."), this, &TMainForm::tbtnAddDirClick);
    ppmTask->addSeparator();
    mnuRemove = ppmTask->addAction(QStringLiteral("Remove"), this, &TMainForm::tbtnRemoveClick);
    mnuClear = ppmTask->addAction(QStringLiteral("Clear"), this, &TMainForm::tbtnClearClick);
    connect(ltvTask, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        ppmTaskPopup();
        ppmTask->popup(ltvTask->viewport()->mapToGlobal(pos));
    });
    connect(ltvTask, &QAbstractItemView::doubleClicked, this, &TMainForm::ltvTaskDblClick);

    new EventHook(ltvTask, [this](QEvent *event) {
        if (event->type() != QEvent::KeyPress)
            return false;
        return ltvTaskKeyDown(static_cast<QKeyEvent *>(event)->key());
    });
    // A click (left button released) runs ltvTaskClick once the list has handled it, so
    // the selection it shows is the one the click made. Keyboard moves do not run it.
    auto forwarding = std::make_shared<bool>(false);
    new EventHook(ltvTask->viewport(), [this, forwarding](QEvent *event) {
        if (event->type() != QEvent::MouseButtonRelease || *forwarding)
            return false;
        if (static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
            return false;
        *forwarding = true;
        QCoreApplication::sendEvent(ltvTask->viewport(), event);
        *forwarding = false;
        ltvTaskClick();
        return true;
    });

    connect(vleOutput, &TValueListEditor::valueCommitted, this, [this](int) { vleOutputValidate(); });
    // While no task is shown the output editor takes no input: a press shows the tip.
    new EventHook(vleOutput->viewport(), [this](QEvent *event) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            vleOutputMouseDown();
            return vleOutput->value(KeyNewFilename).isEmpty();
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            return vleOutput->value(KeyNewFilename).isEmpty();
        default:
            return false;
        }
    });
    new EventHook(vleOutput, [this](QEvent *event) {
        if (event->type() != QEvent::KeyPress || !vleOutput->value(KeyNewFilename).isEmpty())
            return false;
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Escape:
            return false;
        default:
            ShowBalloonTip(vleOutput->viewport(), BalloonInfo, QStringLiteral("Tip:"),
                           QStringLiteral("Please select a file in Task List."));
            return true;
        }
    });
}

void TMainForm::ProbeMediaInfo(const QString &path)
{
    MediaProber prober(EncoderPath, ProbeTimeoutMs, &Encoder);
    const ProbeResults r = prober.probe(path);
    ProbeDuration = r.Duration;
    ProbeFrameSize = r.FrameSize;
    ProbeStart = r.Start;
    ProbeEnd = r.End;
    Memo1->setPlainText(ProbeCommandLine(path) + QLatin1Char('\n') + prober.lastOutput());
}

void TMainForm::TerminateEncoder()
{
    // The run's encoder when a run is going on (a probe never runs beside it), else the
    // probe's.
    if (Run && Run->isRunning())
        Run->stop();
    else
        Encoder.TerminateEncoder();
}

void TMainForm::CommandLineIntake()
{
    if (!CommandLineError.isEmpty())
        qWarning("%s", qPrintable(CommandLineError));
    makeAdder(*this).addCommandLine(CommandLine);
}

void TMainForm::AddTaskFile(const QString &path) { makeAdder(*this).addFile(path); }

void TMainForm::AddTaskFolder(const QString &folder) { makeAdder(*this).addFolder(folder); }

void TMainForm::tbtnAddFileClick()
{
    QFileDialog dialog(this, QStringLiteral("Add Video Files"), LastAddFolder);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    const QStringList filters = OpenFilterToNameFilters(OpenFilter);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.first());
    if (dialog.exec() == QDialog::Accepted) {
        const QStringList chosen = dialog.selectedFiles();
        if (!chosen.isEmpty())
            LastAddFolder = QFileInfo(chosen.first()).absolutePath();
        for (const QString &path : DialogAddOrder(chosen))
            AddTaskFile(path);
    }
    if (Tasks.count() == 1) {
        Tasks.selection()->setCurrentIndex(Tasks.model()->index(0, 0),
                                           QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        ltvTaskClick();
    }
    ltvTask->setFocus();
    EnableListCommandsIfAny();
}

void TMainForm::tbtnAddDirClick()
{
    QString folder;
    if (BrowseForFolder(this, QStringLiteral("Add a directory to the Task List"), QString(), folder))
        AddTaskFolder(folder);
    ltvTask->setFocus();
    EnableListCommandsIfAny();
}

void TMainForm::tbtnRemoveClick()
{
    RemoveSelectedTasks(Tasks);
    SetEditorValue(0, KeyNewFilename, QString());
    SetEditorValue(0, KeyStartTime, QString());
    SetEditorValue(0, KeyEndTime, QString());
    if (Tasks.count() == 0)
        SetListCommandsEnabled(false);
}

void TMainForm::tbtnClearClick()
{
    Tasks.clear();
    SetEditorValue(0, KeyNewFilename, QString());
    SetEditorValue(0, KeyStartTime, QString());
    SetEditorValue(0, KeyEndTime, QString());
    SetListCommandsEnabled(false);
}

void TMainForm::tbtnUpClick() { MoveSelectedTasksUp(Tasks); }

void TMainForm::tbtnDownClick() { MoveSelectedTasksDown(Tasks); }

bool TMainForm::ltvTaskKeyDown(int key)
{
    if (key == Qt::Key_Backspace) {
        tbtnClearClick();
        return true;
    }
    if (key == Qt::Key_Delete) {
        tbtnRemoveClick();
        return true;
    }
    return false;
}

void TMainForm::ppmTaskPopup()
{
    const bool anySelected = Tasks.firstSelectedRow() >= 0;
    mnuOpen->setEnabled(anySelected);
    mnuRemove->setEnabled(anySelected);
    mnuClear->setEnabled(Tasks.count() > 0);
    mnuAddFiles->setEnabled(true);
    mnuAddDir->setEnabled(true);
}

void TMainForm::ltvTaskDblClick()
{
    if (Tasks.firstSelectedRow() >= 0)
        PreviewSelectedTask();
}

void TMainForm::ltvTaskClick()
{
    const int row = Tasks.firstSelectedRow();
    if (row < 0) {
        SetEditorValue(0, KeyNewFilename, QString());
        SetEditorValue(0, KeyStartTime, QString());
        SetEditorValue(0, KeyEndTime, QString());
        return;
    }
    ltvItemData r;
    Tasks.ReadTaskRow(row, ColAll, r);
    SetEditorValue(0, KeyNewFilename, r.NewName + OutputExt);
    SetEditorValue(0, KeyStartTime, r.StartTime);
    SetEditorValue(0, KeyEndTime, r.EndTime);
}

void TMainForm::DropPaths(const QStringList &paths)
{
    if (!ltvTask->isEnabled())
        return;
    makeAdder(*this).addDropped(paths);
    EnableListCommandsIfAny();
}

void TMainForm::SetEditorValue(int group, const QString &key, const QString &value)
{
    TValueListEditor *const editors[] = {vleOutput, vleVideo, vleAudio, vleAdvanced};
    if (group < 0 || group > 3)
        return;
    editors[group]->setValue(key, value);
}

void TMainForm::vleOutputValidate()
{
    const int row = Tasks.firstSelectedRow();
    if (row < 0)
        return;
    ApplyOutputOptions(Tasks, row, vleOutput->value(KeyNewFilename), vleOutput->value(KeyStartTime),
                       vleOutput->value(KeyEndTime));
}

void TMainForm::vleOutputMouseDown()
{
    if (!vleOutput->value(KeyNewFilename).isEmpty()) {
        RepaintEditors();
        return;
    }
    QWidget *under = QApplication::widgetAt(QCursor::pos());
    if (!under || (under != vleOutput && !vleOutput->isAncestorOf(under)))
        under = vleOutput->viewport();
    ShowBalloonTip(under, BalloonInfo, QStringLiteral("Tip:"), QStringLiteral("Please select a file in Task List."));
    // Leave edit mode: an editor that is open is closed without taking its text.
    if (QWidget *editor = vleOutput->indexWidget(vleOutput->currentIndex()))
        Q_EMIT vleOutput->itemDelegate()->closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}
