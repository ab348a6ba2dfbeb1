#include "conversion/batchrun.h"

#include "conversion/encoderprocess.h"
#include "shell/strconv.h"
#include "tasks/timevalues.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <csignal>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

// ---- pieces

QString CutOptions(const ltvItemData &task)
{
    QString options;
    if (task.StartSecs != task.FullStartSecs)
        options += QStringLiteral(" -ss ") + task.StartTime;
    if (task.ClipLengthSecs != task.DurationSecs)
        options += QStringLiteral(" -t ") + QString::number(RoundHalfEven(task.ClipLengthSecs));
    return options;
}

QStringList SplitOptionWords(const QString &options)
{
    QStringList words;
    QString word;
    bool inWord = false;  // a word has begun (a quote begins one even when it stays empty)
    bool quoted = false;
    for (const QChar c : options) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == QLatin1Char(' ') || c == QLatin1Char('\t'))) {
            if (inWord)
                words.append(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.append(word);
    return words;
}

QString EncoderPathArg(const QString &path)
{
    if (path.isEmpty() || QDir::isAbsolutePath(path))
        return path;
    return QFileInfo(path).absoluteFilePath();
}

QString EncoderCommandLineText(const QString &source, const QString &taskOptions, const QString &output)
{
    return QStringLiteral(" -y -i ") + QuotePathArg(EncoderPathArg(source)) + taskOptions + QLatin1Char(' ')
           + QuotePathArg(EncoderPathArg(output));
}

QStringList EncoderArguments(const QString &source, const QString &taskOptions, const QString &output)
{
    QStringList args{QStringLiteral("-y"), QStringLiteral("-i"), EncoderPathArg(source)};
    args += SplitOptionWords(taskOptions);
    args.append(EncoderPathArg(output));
    return args;
}

bool IsSameFile(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    const QFileInfo fa(a), fb(b);
    if (!fa.exists() || !fb.exists())
        return false;
    if (fa.canonicalFilePath() == fb.canonicalFilePath())
        return true;
    struct stat sa, sb;
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0 || ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

QString ChooseOutputPath(const QString &outputFolder, const ltvItemData &task, int index, const QString &outputExt,
                         const std::function<bool()> &renameSetting, const QStringList &protectedSources)
{
    const QString folder = AddTrailingBackslash(outputFolder);
    const QString first = folder + task.NewName + outputExt;
    const auto isSource = [&](const QString &path) {
        if (IsSameFile(path, task.SourceFile))
            return true;
        return std::any_of(protectedSources.begin(), protectedSources.end(),
                           [&](const QString &s) { return IsSameFile(path, s); });
    };
    const bool taken = QFileInfo::exists(first) || QFileInfo(first).isSymLink();
    if (!(taken && renameSetting && renameSetting()) && !isSource(first))
        return first;
    // Renamed: never onto an existing file, so count on until the name is free.
    const QString ext = task.NewExt.isEmpty() ? outputExt : task.NewExt;
    const QString base = folder + task.NewName + QLatin1Char('_') + QString::number(index + 1);
    QString path = base + ext;
    for (int n = 2; QFileInfo::exists(path) || QFileInfo(path).isSymLink() || isSource(path); ++n)
        path = base + QLatin1Char('_') + QString::number(n) + ext;
    return path;
}

double ReadProgressSeconds(const QByteArray &text, double currentSeconds)
{
    // "time" and the character after it are skipped. A read without "time" carries no
    // progress: ffmpeg prints its stream list in many small reads, and a number in one
    // of them (" (h264 (native)...") is no output time.
    const int at = text.indexOf("time");
    if (at < 0)
        return currentSeconds;
    QByteArray v = text.mid(at + 5);
    const int space = v.indexOf(' ');
    v = space < 0 ? QByteArray() : v.left(space);
    if (v.isEmpty())
        return currentSeconds;
    double x = -1;
    if (v.contains(':')) {
        // ffmpeg prints the time reached as hours:minutes:seconds.
        x = TimeToSeconds(QString::fromLatin1(v));
        if (x < 0)
            return currentSeconds;
    } else {
        const auto number = StrToFloatStrict(v, true);
        if (!number)
            return currentSeconds;
        x = *number;
    }
    return std::isfinite(x) && x > currentSeconds ? x : currentSeconds;
}

int ProgressPercent(double part, double whole, int previous)
{
    if (whole == 0)
        return previous;
    const double p = part / whole * 100;
    if (std::isnan(p) || p <= 0)
        return 0;
    if (p >= 100)
        return 100;
    return static_cast<int>(RoundHalfEven(p));
}

void RunClock::tick(int totalPosition)
{
    ++ElapsedSeconds;
    if (totalPosition != 0)
        RemainingSeconds =
            static_cast<int>(RoundHalfEven(ElapsedSeconds / (totalPosition / 100.0) - ElapsedSeconds));
}

QString RunClock::elapsedText() const { return SecondsToTime(ElapsedSeconds); }
QString RunClock::remainingText() const { return SecondsToTime(RemainingSeconds); }

TaskPlan PlanTask(const BatchRunConfig &config, const ltvItemData &task, int row, const QStringList &sources)
{
    QStringList others = sources;
    if (row >= 0 && row < others.size())
        others.removeAt(row);
    TaskPlan plan;
    plan.Output = ChooseOutputPath(config.OutputFolder, task, row, config.OutputExt, config.RenameSetting, others);
    plan.Options = config.RunOptions + CutOptions(task);
    plan.CommandLine = EncoderCommandLineText(task.SourceFile, plan.Options, plan.Output);
    return plan;
}

// ---- the run

namespace {
constexpr qint64 ReadSize = 4095;  // the most one read takes
}

BatchRun::BatchRun(TaskList &tasks, QObject *parent) : QObject(parent), m_tasks(tasks)
{
    m_stepTimer.setSingleShot(true);
    m_stepTimer.setInterval(0);
    connect(&m_stepTimer, &QTimer::timeout, this, &BatchRun::nextTask);
    m_killTimer.setSingleShot(true);
    connect(&m_killTimer, &QTimer::timeout, this, [this] {
        if (m_process && m_process->state() != QProcess::NotRunning)
            m_process->kill();
    });
}

BatchRun::~BatchRun()
{
    if (m_process) {
        disconnect(m_process, nullptr, this, nullptr);
        if (m_process->state() != QProcess::NotRunning) {
            m_process->kill();
            m_process->waitForFinished(5000);
        }
        delete m_process;
    }
}

bool BatchRun::start(const BatchRunConfig &config)
{
    if (m_state != Idle)
        return false;
    m_cfg = config;
    m_state = Running;
    m_count = m_tasks.count();
    m_row = -1;
    m_failed = 0;
    m_doneSeconds = 0;
    m_totalSeconds = 0;
    m_currentSeconds = 0;
    m_currentPercent = 0;
    m_totalPercent = 0;
    m_commandLine.clear();
    m_sources.clear();
    // First pass: the length of the whole run, and the sources no output may replace.
    for (int i = 0; i < m_count; ++i) {
        ltvItemData r;
        m_tasks.ReadTaskRow(i, ColAll, r);
        m_totalSeconds += r.ClipLengthSecs;
        m_sources.append(r.SourceFile);
    }
    m_stepTimer.start();
    return true;
}

void BatchRun::nextTask()
{
    if (m_state == Idle)
        return;
    ++m_row;
    if (m_state == StopRequested) {
        // Stopped between two tasks: the task that would have begun is the stopped one.
        if (m_row < m_count && m_row < m_tasks.count()) {
            m_tasks.ReadTaskRow(m_row, ColAll, m_task);
            writeStatus(TaskStatus::Stop);
            Q_EMIT taskFinished(m_row, TaskStatus::Stop, QString());
        }
        endRun(Stopped);
        return;
    }
    if (m_row >= m_count || m_row >= m_tasks.count()) {
        endRun(Completed);
        return;
    }
    startTask();
}

void BatchRun::startTask()
{
    m_currentSeconds = 0;
    m_tasks.ReadTaskRow(m_row, ColAll, m_task);
    writeStatus(TaskStatus::Converting);
    Q_EMIT taskStarted(m_row, QFileInfo(m_task.SourceFile).fileName());

    const TaskPlan plan = PlanTask(m_cfg, m_task, m_row, m_sources);
    m_output = plan.Output;
    const QString taskOptions = plan.Options;
    m_commandLine = plan.CommandLine;
    Q_EMIT commandLine(m_row, m_commandLine);
    if (m_state != Running) {  // stopped by a receiver of the signals above
        finishTask(-1, QProcess::CrashExit);
        return;
    }

    m_readCount = 0;
    m_taskSeconds = m_task.ClipLengthSecs;
    auto *p = new QProcess(this);
    m_process = p;
    PrepareEncoderProcess(*p, m_cfg.EncoderPath, EncoderArguments(m_task.SourceFile, taskOptions, m_output));
    if (m_cfg.OwnProcessGroup) {
        const pid_t parent = ::getpid();
        // Runs in the child between fork and exec: only async-signal-safe calls.
        p->setChildProcessModifier([parent] {
            ::setpgid(0, 0);
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (::getppid() != parent)  // this program ended before the line above
                ::_exit(127);
        });
    }
    connect(p, &QProcess::readyRead, this, &BatchRun::onReadyRead);
    connect(p, &QProcess::finished, this, &BatchRun::onFinished);
    connect(p, &QProcess::errorOccurred, this, &BatchRun::onErrorOccurred);
    p->start();  // last: a start failure may be reported from inside
}

void BatchRun::onReadyRead()
{
    // Each read takes at most ReadSize bytes, so a burst of output counts as several reads.
    while (m_process && m_process->bytesAvailable() > 0)
        handleRead(m_process->read(ReadSize));
}

void BatchRun::handleRead(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    Q_EMIT outputRead(QString::fromUtf8(bytes));
    // The first two reads of a task carry the encoder's banner and are not examined.
    if (m_readCount >= 2) {
        m_currentSeconds = ReadProgressSeconds(bytes, m_currentSeconds);
        m_currentPercent = ProgressPercent(m_currentSeconds, m_taskSeconds, m_currentPercent);
        m_totalPercent = ProgressPercent(m_doneSeconds + m_currentSeconds, m_totalSeconds, m_totalPercent);
        emitProgress();
    }
    ++m_readCount;
}

void BatchRun::onFinished(int exitCode, QProcess::ExitStatus exitStatus)
{
    if (!m_process || sender() != m_process)
        return;
    onReadyRead();  // whatever is left in the channel
    finishTask(exitCode, exitStatus);
}

void BatchRun::finishTask(int exitCode, QProcess::ExitStatus exitStatus)
{
    releaseProcess();
    if (m_state == StopRequested) {
        writeStatus(TaskStatus::Stop);
        Q_EMIT taskFinished(m_row, TaskStatus::Stop, m_output);
        endRun(Stopped);
        return;
    }
    // A failure is never reported as success: the exit status is read.
    const bool ok = exitStatus == QProcess::NormalExit && exitCode == 0;
    if (!ok)
        ++m_failed;
    m_doneSeconds += m_task.ClipLengthSecs;
    if (ok && m_taskSeconds != 0)
        m_currentPercent = 100;
    m_totalPercent = ProgressPercent(m_doneSeconds, m_totalSeconds, m_totalPercent);
    const bool last = m_row >= m_count - 1;
    if (!last)
        m_currentPercent = 0;
    emitProgress();
    const QString status = ok ? TaskStatus::Complete : TaskStatus::Error;
    writeStatus(status);
    Q_EMIT taskFinished(m_row, status, m_output);
    if (m_state != Idle)
        m_stepTimer.start();
}

void BatchRun::onErrorOccurred(QProcess::ProcessError error)
{
    // A crash or a read error ends in finished(); only a failed start ends here.
    if (error != QProcess::FailedToStart || !m_process || sender() != m_process)
        return;
    releaseProcess();
    ++m_failed;
    writeStatus(TaskStatus::Error);
    Q_EMIT taskFinished(m_row, TaskStatus::Error, m_output);
    m_state = Idle;  // idle before anyone is told
    Q_EMIT errorMessage(QStringLiteral("Error on CreateProcess()"));
    Q_EMIT runFinished(StartFailed, m_failed, m_count);
}

void BatchRun::writeStatus(const QString &status)
{
    m_task.Status = status;
    if (m_row >= 0 && m_row < m_tasks.count())
        m_tasks.WriteTaskRow(m_row, 2, m_task);
    Q_EMIT statusWritten(m_row, status);
}

void BatchRun::releaseProcess()
{
    m_killTimer.stop();
    if (m_process) {
        disconnect(m_process, nullptr, this, nullptr);
        m_process->deleteLater();
        m_process = nullptr;
    }
}

void BatchRun::endRun(Outcome outcome)
{
    m_stepTimer.stop();
    m_state = Idle;
    Q_EMIT runFinished(outcome, m_failed, m_count);
}

void BatchRun::emitProgress() { Q_EMIT progressChanged(m_currentPercent, m_totalPercent); }

void BatchRun::stop()
{
    if (m_state != Running)
        return;
    m_state = StopRequested;
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->terminate();
        m_killTimer.start(std::max(0, m_cfg.KillDelayMs));
    }
    // Between two tasks no encoder runs: the next step ends the run.
}

void BatchRun::stopAndWait()
{
    if (m_state == Idle)
        return;
    stop();
    if (m_process) {
        QPointer<QProcess> p = m_process;
        if (p->state() != QProcess::NotRunning && !p->waitForFinished(std::max(0, m_cfg.KillDelayMs))) {
            if (p) {
                p->kill();
                p->waitForFinished(5000);
            }
        }
        // waitForFinished delivered finished(), which ended the run; a process that
        // never started leaves it to us.
        if (m_process == p && p)
            finishTask(-1, QProcess::CrashExit);
    }
    if (m_state != Idle) {
        m_stepTimer.stop();
        nextTask();
    }
}
