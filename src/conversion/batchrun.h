#pragma once
// The batch conversion run: one encoder run per task of the list, in list order, with
// per-task and total progress, task statuses, stop, and the run's end. The run is a state
// machine driven by the encoder process's signals; it never blocks the thread it lives on
// and uses no widget, so the window and the command-line tool drive the same class.
#include "tasks/tasklist.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>

// ---- the pieces of a run, each a pure function of its arguments

// Task statuses written by the run.
namespace TaskStatus {
inline const QString Converting = QStringLiteral("Converting");
inline const QString Complete = QStringLiteral("Complete");
inline const QString Stop = QStringLiteral("Stop");
inline const QString Error = QStringLiteral("Error");
}  // namespace TaskStatus

// The task's own cut options: " -ss " + StartTime when StartSecs differs from
// FullStartSecs, then " -t " + whole seconds of ClipLengthSecs (halves to even) when
// ClipLengthSecs differs from DurationSecs.
QString CutOptions(const ltvItemData &task);

// The words of an option text: split at blanks; a double-quoted stretch stays inside one
// word and loses its quotes ("" gives an empty word).
QStringList SplitOptionWords(const QString &options);

// How the encoder sees a path: an absolute path stays as it is, a relative one is made
// absolute, so that no name can be read as an option ("-x") or a protocol ("pipe:").
QString EncoderPathArg(const QString &path);

// The command line as shown: " -y -i \"src\"" + taskOptions + " \"out\"".
QString EncoderCommandLineText(const QString &source, const QString &taskOptions, const QString &output);

// The encoder's arguments: "-y", "-i", source, the words of taskOptions, output.
QStringList EncoderArguments(const QString &source, const QString &taskOptions, const QString &output);

// True when both texts name one file: equal texts, or existing paths that resolve to the
// same file on disk (symbolic links, "..", doubled separators, hard links).
bool IsSameFile(const QString &a, const QString &b);

// The output path of task index (0-based) of a run:
//   O = folder + NewName + outputExt;
//   when O exists and renameSetting() is true, or O is the task's own source or the
//   source of another task of the run (protectedSources), O becomes
//   folder + NewName + "_" + (index + 1) + ext, ext being NewExt or, when NewExt is
//   empty, outputExt; when that exists too, "_2", "_3"... are added until a free name
//   is found. renameSetting is read only when O exists; an empty function reads false.
QString ChooseOutputPath(const QString &outputFolder, const ltvItemData &task, int index, const QString &outputExt,
                         const std::function<bool()> &renameSetting, const QStringList &protectedSources = {});

// The output time in one read of the encoder's progress text: the characters after
// "time" and one more up to the first space, read as a decimal number or, when they hold
// ":", as a time text. The result is that value when it exceeds currentSeconds,
// otherwise currentSeconds (also when the read holds no "time").
double ReadProgressSeconds(const QByteArray &text, double currentSeconds);

// part / whole as a percentage rounded half to even and held to 0..100; previous when
// whole is 0.
int ProgressPercent(double part, double whole, int previous);

// The run clock: counts the clock's ticks and estimates the seconds left from the total
// progress position (0..100).
class RunClock
{
public:
    int ElapsedSeconds = 0;
    int RemainingSeconds = 0;

    void reset() { ElapsedSeconds = RemainingSeconds = 0; }
    // One tick: one more second elapsed; with a position above 0 the estimate is renewed,
    // at 0 it keeps its value.
    void tick(int totalPosition);
    QString elapsedText() const;    // SecondsToTime(ElapsedSeconds)
    QString remainingText() const;  // SecondsToTime(RemainingSeconds)
};

// ---- the run

struct BatchRunConfig
{
    QString EncoderPath;
    QString OutputFolder;  // the output folder's text; a trailing "/" is added when missing
    QString OutputExt;     // with its dot
    QString RunOptions;    // the profile's option text
    // Read when an output file already exists: true renames, false overwrites.
    std::function<bool()> RenameSetting;
    // How long a stopped encoder may take to end after SIGTERM before it is killed.
    int KillDelayMs = 5000;
    // Runs each encoder in a process group of its own, so that a Ctrl-C typed at the
    // terminal reaches only this program (which then stops the encoder as stop() does),
    // and has it sent SIGTERM should this program end without stopping it.
    bool OwnProcessGroup = false;
};

// What the run does for task row of a run over sources (the source of every task of the
// run, by row): the output path ChooseOutputPath gives, the options (the profile's and
// the task's own cut) and the command line as shown.
struct TaskPlan
{
    QString Output;
    QString Options;
    QString CommandLine;
};
TaskPlan PlanTask(const BatchRunConfig &config, const ltvItemData &task, int row, const QStringList &sources);

class BatchRun : public QObject
{
    Q_OBJECT
public:
    enum State { Idle = 0, Running = 1, StopRequested = 2 };
    enum Outcome {
        Completed,    // every task ran (some may have failed: see the failed count)
        Stopped,      // ended by stop() or stopAndWait()
        StartFailed,  // the encoder could not be started; errorMessage() was emitted
    };
    Q_ENUM(Outcome)

    explicit BatchRun(TaskList &tasks, QObject *parent = nullptr);
    ~BatchRun() override;

    // Begins a run over the tasks now in the list; false (and nothing happens) when a run
    // is going on. Nothing is emitted from inside start(): the first task begins once the
    // event loop runs.
    bool start(const BatchRunConfig &config);
    // Asks the running encoder to end (SIGTERM) and kills it when it has not ended within
    // KillDelayMs. The task ends as "Stop" and the run as Stopped. Does nothing when idle.
    void stop();
    // The same, but waits for the encoder to end (at most KillDelayMs, then kill); for a
    // program that is about to quit. runFinished(Stopped, ...) is emitted before it returns.
    void stopAndWait();

    State state() const { return m_state; }
    bool isRunning() const { return m_state != Idle; }
    int taskCount() const { return m_count; }   // tasks of the current or last run
    int currentRow() const { return m_row; }    // row of the running task, -1 before the first
    int failedCount() const { return m_failed; }
    int currentPercent() const { return m_currentPercent; }
    int totalPercent() const { return m_totalPercent; }
    QString commandLineText() const { return m_commandLine; }  // of the running or last task

Q_SIGNALS:
    // A task begins: its status is "Converting"; fileName is the source's name part.
    void taskStarted(int row, const QString &fileName);
    // The command line of the task about to start, as text (" -y -i \"src\" ... \"out\"").
    void commandLine(int row, const QString &text);
    // The text of one read of the encoder's output.
    void outputRead(const QString &text);
    // The bars' positions, 0..100.
    void progressChanged(int current, int total);
    // A status was written into the task's row.
    void statusWritten(int row, const QString &status);
    // A task ended with status "Complete", "Error" or "Stop"; output is its output path.
    void taskFinished(int row, const QString &status, const QString &output);
    // A text for the user (the encoder could not be started).
    void errorMessage(const QString &text);
    // The run has ended; the object is idle again when this is emitted.
    void runFinished(BatchRun::Outcome outcome, int failed, int total);

private:
    void nextTask();
    void startTask();
    void onReadyRead();
    void handleRead(const QByteArray &bytes);
    void onFinished(int exitCode, QProcess::ExitStatus exitStatus);
    void finishTask(int exitCode, QProcess::ExitStatus exitStatus);
    void onErrorOccurred(QProcess::ProcessError error);
    void writeStatus(const QString &status);
    void releaseProcess();
    void endRun(Outcome outcome);
    void emitProgress();

    TaskList &m_tasks;
    BatchRunConfig m_cfg;
    State m_state = Idle;
    QPointer<QProcess> m_process;
    QTimer m_stepTimer;  // hands over to the next task through the event loop
    QTimer m_killTimer;  // kills a stopped encoder that does not end
    QStringList m_sources;
    int m_count = 0;
    int m_row = -1;
    int m_failed = 0;
    int m_readCount = 0;
    double m_totalSeconds = 0;
    double m_doneSeconds = 0;
    double m_taskSeconds = 0;
    double m_currentSeconds = 0;
    int m_currentPercent = 0;
    int m_totalPercent = 0;
    ltvItemData m_task;
    QString m_output;
    QString m_commandLine;
};
