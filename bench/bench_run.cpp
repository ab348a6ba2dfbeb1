// What the batch run costs on top of the encoder: N generated clips converted with one
// option set through BatchRun, through the command-line tool orvelle-cli (when it has been
// built), and with the same encoder argument lists run directly one after the other.
// Each round runs every side, the order rotating from round to round so that all see
// the same machine load; the totals and the median of the rounds' ratios are printed.
//
// The command-line tool runs from a throw-away program directory: a copy of the tool,
// wmaspi.dll linked to the encoder, and one profile ("Bench") whose options are exactly
// the ones the other sides use. It probes every file before converting, as it must
// (the run's side is given the tasks' lengths).
//
//   build/bench/bench_run [clips=8] [seconds=2] [rounds=3]
#include "benchutil.h"
#include "conversion/batchrun.h"
#include "tasks/tasklist.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

namespace {

const QString Options = QStringLiteral(" -c:v mpeg4 -q:v 5 -c:a aac");

// A profile that builds exactly Options.
const char *const BenchProfile = "[Main]\nType=mp4\nPara=3\n0=Video Codec\n1=Quality\n2=Audio Codec\n"
                                 "[Video Codec]\nSort=1\nReadOnly=1\nList=0\ncmd=-c:v\nCaption=MPEG-4\nValue=mpeg4\n"
                                 "[Quality]\ncmd=-q:v\nCaption=5,\nValue=5,\nIndex=0\n"
                                 "[Audio Codec]\nSort=2\nReadOnly=1\nList=0\ncmd=-c:a\nCaption=AAC\nValue=aac\n";

QString durationText(int seconds) { return QStringLiteral("00:%1:%2").arg(seconds / 60, 2, 10, QLatin1Char('0')).arg(seconds % 60, 2, 10, QLatin1Char('0')); }

QString encoderPath() { return Bench::builtAppDir() + QStringLiteral("wmaspi.dll"); }

// Milliseconds of one run through BatchRun; -1 when a task did not complete.
qint64 throughRun(const QStringList &sources, int seconds, const QString &outDir)
{
    TaskList tasks;
    for (const QString &src : sources) {
        ltvItemData r;
        r.SourceFile = src;
        r.Duration = r.FullEnd = r.ClipLength = r.EndTime = durationText(seconds);
        r.FullStart = r.StartTime = QStringLiteral("00:00:00.0");
        r.Status = QStringLiteral("OK");
        r.NewName = QFileInfo(src).completeBaseName();
        r.NewExt = QStringLiteral(".mp4");
        tasks.WriteTaskRow(tasks.appendRow(src), ColAll, r);
    }
    BatchRun run(tasks);
    BatchRunConfig config;
    config.EncoderPath = encoderPath();
    config.OutputFolder = outDir;
    config.OutputExt = QStringLiteral(".mp4");
    config.RunOptions = Options;
    bool ok = false;
    QEventLoop loop;
    QObject::connect(&run, &BatchRun::runFinished, &loop, [&](BatchRun::Outcome outcome, int failed, int) {
        ok = outcome == BatchRun::Completed && failed == 0;
        loop.quit();
    });
    QElapsedTimer clock;
    clock.start();
    run.start(config);
    loop.exec();
    return ok ? clock.elapsed() : -1;
}

// Milliseconds of the same encoder argument lists run one after the other.
qint64 direct(const QStringList &sources, const QString &outDir)
{
    QElapsedTimer clock;
    clock.start();
    for (const QString &src : sources) {
        const QString out = outDir + QFileInfo(src).completeBaseName() + QStringLiteral(".mp4");
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.setStandardInputFile(QProcess::nullDevice());
        p.start(encoderPath(), EncoderArguments(src, Options, out));
        if (!p.waitForFinished(120000) || p.exitCode() != 0)
            return -1;
        p.readAll();
    }
    return clock.elapsed();
}

// Milliseconds of "encoder -i FILE" for every file, one after the other.
qint64 probes(const QStringList &sources)
{
    QElapsedTimer clock;
    clock.start();
    for (const QString &src : sources) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.setStandardInputFile(QProcess::nullDevice());
        p.start(encoderPath(), {QStringLiteral("-i"), src});
        if (!p.waitForFinished(60000) || !p.readAll().contains("Duration"))
            return -1;
    }
    return clock.elapsed();
}

// Runs the command-line tool; its exit status, or -1 when it did not end normally.
int runCli(const QString &cli, const QStringList &args, QByteArray *output = nullptr)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(cli, args);
    if (!p.waitForFinished(600000) || p.exitStatus() != QProcess::NormalExit)
        return -1;
    if (output)
        *output = p.readAll();
    return p.exitCode();
}

QStringList cliArgs(const QStringList &sources, const QString &outDir)
{
    return QStringList{QStringLiteral("--profile"), QStringLiteral("Bench"), QStringLiteral("--output"), outDir,
                       QStringLiteral("--overwrite")}
           + sources;
}

// Milliseconds of the whole command, from its start to its end; -1 when it failed.
qint64 throughCli(const QString &cli, const QStringList &sources, const QString &outDir)
{
    QElapsedTimer clock;
    clock.start();
    return runCli(cli, cliArgs(sources, outDir)) == 0 ? clock.elapsed() : -1;
}

// The tool's program directory; the tool's path in it, or empty when it could not be made.
QString makeCliProgramDir(const QString &dir)
{
    const QString appDir = Bench::makeProgramDir(dir, Bench::ffmpegPath(), false);
    if (appDir.isEmpty() || !QDir().mkpath(appDir + QStringLiteral("Profiles")))
        return QString();
    QFile profile(appDir + QStringLiteral("Profiles/Bench.apf"));
    QFile prefs(appDir + QStringLiteral("Preferences.ini"));
    if (!profile.open(QIODevice::WriteOnly) || profile.write(BenchProfile) < 0 || !prefs.open(QIODevice::WriteOnly)
        || prefs.write("[Main]\nVersion=3.0\n") < 0)
        return QString();
    const QString cli = appDir + QStringLiteral("orvelle-cli");
    if (!Bench::copyFile(Bench::builtAppDir() + QStringLiteral("orvelle-cli"), cli))
        return QString();
    return cli;
}

enum Side { Direct, Run, Cli, Probes };
const char *const SideNames[] = {"direct", "run", "orvelle-cli", "probes"};

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int n = Bench::intArg(args, 1, 8);
    const int seconds = Bench::intArg(args, 2, 2);
    const int rounds = Bench::intArg(args, 3, 3);
    std::printf("load average at start: %s\n", qPrintable(Bench::loadAverage()));

    QTemporaryDir dir;
    QStringList sources;
    for (int i = 0; i < n; ++i) {
        const QString path = dir.filePath(QStringLiteral("clip%1.mp4").arg(i));
        if (!Bench::makeClip(path, seconds, QStringLiteral("320x240"))) {
            std::fprintf(stderr, "could not generate %s\n", qPrintable(path));
            return 1;
        }
        sources.append(path);
    }
    const QString outRun = dir.filePath(QStringLiteral("run/")), outDirect = dir.filePath(QStringLiteral("direct/")),
                  outCli = dir.filePath(QStringLiteral("cli/"));
    for (const QString &out : {outRun, outDirect, outCli})
        QDir().mkpath(out);

    std::vector<Side> sides{Direct, Run};
    QString cli;
    if (QFileInfo(Bench::builtAppDir() + QStringLiteral("orvelle-cli")).isExecutable()) {
        cli = makeCliProgramDir(dir.filePath(QStringLiteral("cli-program")));
        if (cli.isEmpty()) {
            std::fprintf(stderr, "could not make the command-line tool's program directory\n");
            return 1;
        }
        QByteArray dryRun;
        if (runCli(cli, QStringList{QStringLiteral("--dry-run")} + cliArgs(sources.mid(0, 1), outCli), &dryRun) != 0) {
            std::fprintf(stderr, "orvelle-cli --dry-run failed:\n%s\n", dryRun.constData());
            return 1;
        }
        if (!dryRun.contains(Options.toUtf8()))
            std::printf("note: orvelle-cli's dry run does not show the options \"%s\":\n%s\n",
                        qPrintable(Options.trimmed()), dryRun.constData());
        sides.push_back(Cli);
        sides.push_back(Probes);
    }
    direct(sources.mid(0, 1), outDirect);  // warm-up: caches and the encoder's libraries

    qint64 total[4] = {0, 0, 0, 0};
    std::vector<double> runRatios, cliRatios, cliProbeRatios;
    for (int r = 0; r < rounds; ++r) {
        qint64 ms[4] = {0, 0, 0, 0};
        for (size_t k = 0; k < sides.size(); ++k) {
            const Side side = sides[(k + r) % sides.size()];
            ms[side] = side == Direct ? direct(sources, outDirect)
                       : side == Run  ? throughRun(sources, seconds, outRun)
                       : side == Cli  ? throughCli(cli, sources, outCli)
                                      : probes(sources);
            if (ms[side] < 0) {
                std::fprintf(stderr, "a conversion failed (%s)\n", SideNames[side]);
                return 1;
            }
            total[side] += ms[side];
        }
        std::printf("round %d: run %lld ms, direct %lld ms", r + 1, static_cast<long long>(ms[Run]),
                    static_cast<long long>(ms[Direct]));
        if (!cli.isEmpty())
            std::printf(", orvelle-cli %lld ms, probes %lld ms", static_cast<long long>(ms[Cli]),
                        static_cast<long long>(ms[Probes]));
        std::printf("\n");
        runRatios.push_back(static_cast<double>(ms[Run]) / static_cast<double>(ms[Direct]));
        if (!cli.isEmpty()) {
            cliRatios.push_back(static_cast<double>(ms[Cli]) / static_cast<double>(ms[Direct]));
            cliProbeRatios.push_back(static_cast<double>(ms[Cli]) / static_cast<double>(ms[Direct] + ms[Probes]));
        }
    }
    std::printf("%d clips of %d s (320x240), %d rounds, options \"%s\"\n", n, seconds, rounds,
                qPrintable(Options.trimmed()));
    std::printf("through the run: %lld ms\n", static_cast<long long>(total[Run]));
    std::printf("direct:          %lld ms\n", static_cast<long long>(total[Direct]));
    if (cli.isEmpty())
        std::printf("orvelle-cli:     skipped (%sorvelle-cli has not been built)\n", qPrintable(Bench::builtAppDir()));
    else
        std::printf("orvelle-cli:     %lld ms (its probes included)\n"
                    "probes direct:   %lld ms (encoder -i on every file)\n",
                    static_cast<long long>(total[Cli]), static_cast<long long>(total[Probes]));
    std::printf("ratio run/direct: %.3f (median of the rounds %.3f)\n",
                static_cast<double>(total[Run]) / static_cast<double>(total[Direct]), Bench::median(runRatios));
    if (!cli.isEmpty()) {
        std::printf("ratio orvelle-cli/direct: %.3f (median of the rounds %.3f)\n",
                    static_cast<double>(total[Cli]) / static_cast<double>(total[Direct]), Bench::median(cliRatios));
        std::printf("ratio orvelle-cli/(direct + probes): %.3f (median of the rounds %.3f)\n",
                    static_cast<double>(total[Cli]) / static_cast<double>(total[Direct] + total[Probes]),
                    Bench::median(cliProbeRatios));
    }
    std::printf("load average at end: %s\n", qPrintable(Bench::loadAverage()));
    return 0;
}
