#include "app/cli/cli.h"

#include "app/cli/cliconsole.h"
#include "app/cli/clioptions.h"
#include "app/cli/cliprofile.h"
#include "app/cli/clisignals.h"
#include "conversion/batchrun.h"
#include "conversion/probe.h"
#include "settings/preferences.h"
#include "shell/apperror.h"
#include "shell/product.h"
#include "shell/startup.h"
#include "tasks/taskops.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTimer>
#include <algorithm>
#include <exception>

using CliConsole::line;
using CliConsole::message;

namespace {

// Thrown out of the task intake when a signal has come.
struct IntakeInterrupted
{
};

QString OutputFolder(const CliOptions &o, const StoredPreferences &prefs, const QString &appDir)
{
    if (o.output)
        return *o.output;
    // The stored folder, as the window shows it; the program directory, the window's
    // first value, when none (or an empty one) is stored.
    return prefs.general.outputPath.isEmpty() ? appDir : prefs.general.outputPath;
}

int ListProfiles(const QString &appDir, const QStringList &names)
{
    int status = CliExit::Ok;
    bool first = true;
    for (const QString &name : names) {
        CliProfile profile;
        try {
            profile.load(appDir, name);
        } catch (const AppError &e) {
            message(e.text());
            status = CliExit::Usage;
            continue;
        }
        if (!first)
            line(QString());
        first = false;
        CliConsole::write(profile.describe());
    }
    return status;
}

// Adds the tasks of the paths as the window adds the command line's paths, and tells
// which paths were skipped.
void AddTasks(TaskList &tasks, const QStringList &args, const QString &encoderPath, const QString &outputExt)
{
    QString listError;
    const QStringList paths = CommandLinePaths(args, &listError);
    if (!listError.isEmpty())
        message(listError);
    MediaProber prober(encoderPath);
    TaskAdder adder(tasks, [&prober](const QString &path) {
        if (CliSignals::interrupted())
            throw IntakeInterrupted();
        return prober.probe(path);
    });
    adder.outputExt = [&outputExt] { return outputExt; };
    adder.beforeFolderFile = [] { return !CliSignals::interrupted(); };
    QStringList skipped;
    adder.addCommandLine(paths, &skipped);
    if (CliSignals::interrupted())
        throw IntakeInterrupted();
    for (const QString &p : std::as_const(skipped)) {
        if (p.isEmpty())
            continue;
        if (QFileInfo::exists(p))
            message(QStringLiteral("skipped \"%1\": not a supported video file.").arg(p));
        else
            message(QStringLiteral("skipped \"%1\": no such file or folder.").arg(p));
    }
}

// --start and --end, applied to every task as the output options editor applies them.
void ApplyCutTimes(TaskList &tasks, const CliOptions &o, const QString &outputExt)
{
    if (!o.start && !o.end)
        return;
    for (int row = 0; row < tasks.count(); ++row) {
        ltvItemData r;
        tasks.ReadTaskRow(row, ColAll, r);
        const OutputOptionsCheck check =
            ApplyOutputOptions(tasks, row, r.NewName + outputExt, o.start.value_or(r.StartTime), o.end.value_or(r.EndTime));
        if (o.start && check.startRefused)
            message(QStringLiteral("\"%1\": start time %2 refused; the task starts at %3.")
                        .arg(r.SourceFile, *o.start, check.record.StartTime));
        if (o.end && check.endRefused)
            message(QStringLiteral("\"%1\": end time %2 refused; the task ends at %3.")
                        .arg(r.SourceFile, *o.end, check.record.EndTime));
    }
}

QStringList Sources(const TaskList &tasks)
{
    QStringList sources;
    for (int row = 0; row < tasks.count(); ++row)
        sources.append(tasks.cell(row, ColCaption));
    return sources;
}

void PrintDryRun(const TaskList &tasks, const BatchRunConfig &config)
{
    const QStringList sources = Sources(tasks);
    for (int row = 0; row < tasks.count(); ++row) {
        ltvItemData r;
        tasks.ReadTaskRow(row, ColAll, r);
        line(r.SourceFile);
        line(QStringLiteral("  Length: ") + r.Duration);
        line(QStringLiteral("  Size: ") + r.FrameSize.trimmed());
        line(QStringLiteral("  Command line:") + PlanTask(config, r, row, sources).CommandLine);
    }
}

QString Bar(int percent, int width)
{
    const int filled = percent * width / 100;
    return QLatin1Char('[') + QString(filled, QLatin1Char('#')) + QString(width - filled, QLatin1Char('-'))
           + QLatin1Char(']');
}

// The last few lines the encoder printed, for a task that failed.
QStringList LastLines(const QString &output, int count)
{
    QStringList lines = output.split(QRegularExpression(QStringLiteral("[\r\n]")), Qt::SkipEmptyParts);
    lines.erase(std::remove_if(lines.begin(), lines.end(), [](const QString &l) { return l.trimmed().isEmpty(); }),
                lines.end());
    return lines.mid(std::max(0, static_cast<int>(lines.size()) - count));
}

int Convert(TaskList &tasks, const BatchRunConfig &config)
{
    const bool terminal = CliConsole::outputIsTerminal();
    const int count = tasks.count();
    QEventLoop loop;
    BatchRun run(tasks);
    RunClock clock;
    QTimer clockTimer;
    clockTimer.setInterval(1000);
    QString taskOutput;
    int complete = 0, failed = 0, stopped = 0;
    bool stopping = false;

    const auto label = [count](int row) { return QStringLiteral("[%1/%2]").arg(row + 1).arg(count); };
    const auto drawProgress = [&] {
        if (!terminal || run.currentRow() < 0)
            return;
        CliConsole::showProgress(QStringLiteral("  %1 %2%  total %3%  remaining %4")
                                     .arg(Bar(run.currentPercent(), 30))
                                     .arg(run.currentPercent(), 3)
                                     .arg(run.totalPercent(), 3)
                                     .arg(clock.remainingText()));
    };

    QObject::connect(&run, &BatchRun::taskStarted, &loop, [&](int row, const QString &) {
        taskOutput.clear();
        line(label(row) + QStringLiteral(" Converting ") + tasks.cell(row, ColCaption));
        drawProgress();
    });
    QObject::connect(&run, &BatchRun::outputRead, &loop, [&](const QString &text) {
        taskOutput += text;
        if (taskOutput.size() > 16384)
            taskOutput = taskOutput.right(8192);
    });
    QObject::connect(&run, &BatchRun::progressChanged, &loop, [&](int, int) { drawProgress(); });
    QObject::connect(&run, &BatchRun::taskFinished, &loop, [&](int row, const QString &status, const QString &output) {
        if (status == TaskStatus::Complete)
            ++complete;
        else if (status == TaskStatus::Stop)
            ++stopped;
        else
            ++failed;
        line(label(row) + QLatin1Char(' ') + status + (output.isEmpty() ? QString() : QStringLiteral(": ") + output));
        if (status == TaskStatus::Error) {
            for (const QString &l : LastLines(taskOutput, 3))
                message(QStringLiteral("  ") + l.trimmed());
        }
    });
    QObject::connect(&run, &BatchRun::errorMessage, &loop, [&](const QString &text) {
        message(text + QStringLiteral(": the encoder ") + config.EncoderPath + QStringLiteral(" cannot be started."));
    });
    QObject::connect(&run, &BatchRun::runFinished, &loop, [&](BatchRun::Outcome outcome, int, int total) {
        clockTimer.stop();
        const int notRun = total - complete - failed - stopped;
        QString summary = QStringLiteral("Summary: %1 task(s), %2 complete, %3 failed").arg(total).arg(complete).arg(failed);
        if (stopped > 0)
            summary += QStringLiteral(", %1 stopped").arg(stopped);
        if (notRun > 0)
            summary += QStringLiteral(", %1 not run").arg(notRun);
        line(summary + QStringLiteral("; elapsed ") + clock.elapsedText() + QLatin1Char('.'));
        if (outcome == BatchRun::Stopped)
            loop.exit(CliExit::Interrupted);
        else
            loop.exit(outcome == BatchRun::Completed && failed == 0 ? CliExit::Ok : CliExit::TaskFailed);
    });
    QObject::connect(&clockTimer, &QTimer::timeout, &loop, [&] {
        clock.tick(run.totalPercent());
        drawProgress();
    });
    CliSignals::watch(&loop, [&] {
        if (!run.isRunning())
            return;
        if (!stopping)
            message(QStringLiteral("stopping the encoder..."));
        stopping = true;
        run.stop();
    });

    run.start(config);
    clockTimer.start();
    return loop.exec();
}

int Main(const QStringList &args, const QString &appDir)
{
    const CliOptions o = ParseCliOptions(args);
    if (o.help) {
        CliConsole::write(CliUsageText());
        return CliExit::Ok;
    }
    StoredPreferences prefs;
    try {
        prefs = ReadStoredPreferences(appDir);
    } catch (const AppError &e) {
        message(e.text());
        return CliExit::Usage;
    }
    if (o.version) {
        line(Product::Name + QStringLiteral(" V") + prefs.version);
        return CliExit::Ok;
    }

    const QStringList names = ProfileNames(appDir);
    if (o.listProfiles)
        return ListProfiles(appDir, o.profile ? QStringList{ChooseProfileName(names, o.profile, -1)} : names);

    CliProfile profile;
    profile.load(appDir, ChooseProfileName(names, o.profile, prefs.profile));
    for (const QString &setting : o.settings)
        profile.applySetting(setting);
    const QString options = profile.encoderOptions();

    if (o.paths.isEmpty())
        throw CliUsageError(QStringLiteral("no PATH given."));
    BatchRunConfig config;
    config.EncoderPath = appDir + QStringLiteral("wmaspi.dll");
    config.OutputFolder = OutputFolder(o, prefs, appDir);
    config.OutputExt = profile.outputExt;
    config.RunOptions = options;
    const bool rename = o.rename.value_or(!prefs.general.overwrite);
    config.RenameSetting = [rename] { return rename; };
    config.OwnProcessGroup = true;
    if (!QFileInfo(config.OutputFolder).isDir()) {
        message(QStringLiteral("The output path \"%1\" does not exist. Please specify another one.")
                    .arg(config.OutputFolder));
        return CliExit::Usage;
    }

    TaskList tasks;
    AddTasks(tasks, o.paths, config.EncoderPath, profile.outputExt);
    if (tasks.count() == 0) {
        message(QStringLiteral("no task to convert."));
        return CliExit::Usage;
    }
    ApplyCutTimes(tasks, o, profile.outputExt);
    if (o.dryRun) {
        PrintDryRun(tasks, config);
        return CliExit::Ok;
    }
    line(QStringLiteral("Converting %1 task(s) with \"%2\" into %3")
             .arg(tasks.count())
             .arg(profile.name, AddTrailingBackslash(config.OutputFolder)));
    return Convert(tasks, config);
}

}  // namespace

int CliMain(const QStringList &args, const QString &appDir)
{
    try {
        return Main(args, appDir);
    } catch (const CliUsageError &e) {
        message(e.text() + QStringLiteral(" (orvelle-cli --help tells the usage)"));
        return CliExit::Usage;
    } catch (const IntakeInterrupted &) {
        message(QStringLiteral("interrupted."));
        return CliExit::Interrupted;
    } catch (const AppError &e) {
        // A profile that cannot be read, or an option list it cannot give.
        message(e.text());
        return CliExit::Usage;
    } catch (const std::exception &e) {
        message(QString::fromLocal8Bit(e.what()));
        return CliExit::TaskFailed;
    }
}
