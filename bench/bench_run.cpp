// What the batch run costs on top of the encoder: N generated clips converted with one
// option set through BatchRun, and the same argument lists run directly one after the
// other. Each round runs both, in alternating order, so that both see the same machine
// load; the totals and the median of the rounds' ratios are printed.
//
//   build/bench/bench_run [clips=8] [seconds=2] [rounds=3]
#include "conversion/batchrun.h"
#include "tasks/tasklist.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const QString Options = QStringLiteral(" -c:v mpeg4 -q:v 5 -c:a aac");

bool makeClip(const QString &path, int seconds)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral(ORVELLE_FFMPEG),
            {QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("error"), QStringLiteral("-y"),
             QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
             QStringLiteral("testsrc=size=320x240:rate=25:duration=%1").arg(seconds), QStringLiteral("-f"),
             QStringLiteral("lavfi"), QStringLiteral("-i"),
             QStringLiteral("sine=frequency=440:sample_rate=44100:duration=%1").arg(seconds), QStringLiteral("-shortest"),
             path});
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

QString durationText(int seconds) { return QStringLiteral("00:%1:%2").arg(seconds / 60, 2, 10, QLatin1Char('0')).arg(seconds % 60, 2, 10, QLatin1Char('0')); }

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
    config.EncoderPath = QStringLiteral(ORVELLE_APPDIR) + QStringLiteral("wmaspi.dll");
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
        p.start(QStringLiteral(ORVELLE_APPDIR) + QStringLiteral("wmaspi.dll"), EncoderArguments(src, Options, out));
        if (!p.waitForFinished(120000) || p.exitCode() != 0)
            return -1;
        p.readAll();
    }
    return clock.elapsed();
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int n = args.size() > 1 ? std::max(1, args[1].toInt()) : 8;
    const int seconds = args.size() > 2 ? std::max(1, args[2].toInt()) : 2;
    const int rounds = args.size() > 3 ? std::max(1, args[3].toInt()) : 3;

    QTemporaryDir dir;
    QStringList sources;
    for (int i = 0; i < n; ++i) {
        const QString path = dir.filePath(QStringLiteral("clip%1.mp4").arg(i));
        if (!makeClip(path, seconds)) {
            std::fprintf(stderr, "could not generate %s\n", qPrintable(path));
            return 1;
        }
        sources.append(path);
    }
    const QString outRun = dir.filePath(QStringLiteral("run/")), outDirect = dir.filePath(QStringLiteral("direct/"));
    QDir().mkpath(outRun);
    QDir().mkpath(outDirect);
    direct(sources.mid(0, 1), outDirect);  // warm-up: caches and the encoder's libraries

    qint64 runMs = 0, directMs = 0;
    std::vector<double> ratios;
    for (int r = 0; r < rounds; ++r) {
        qint64 d = 0, b = 0;
        if (r % 2 == 0) {
            d = direct(sources, outDirect);
            b = throughRun(sources, seconds, outRun);
        } else {
            b = throughRun(sources, seconds, outRun);
            d = direct(sources, outDirect);
        }
        if (d < 0 || b < 0) {
            std::fprintf(stderr, "a conversion failed\n");
            return 1;
        }
        std::printf("round %d: run %lld ms, direct %lld ms\n", r + 1, static_cast<long long>(b),
                    static_cast<long long>(d));
        runMs += b;
        directMs += d;
        ratios.push_back(static_cast<double>(b) / static_cast<double>(d));
    }
    std::sort(ratios.begin(), ratios.end());
    const double median = ratios.size() % 2 ? ratios[ratios.size() / 2]
                                            : (ratios[ratios.size() / 2 - 1] + ratios[ratios.size() / 2]) / 2;
    std::printf("%d clips of %d s, %d rounds, options \"%s\"\n", n, seconds, rounds, qPrintable(Options.trimmed()));
    std::printf("through the run: %lld ms\n", static_cast<long long>(runMs));
    std::printf("direct:          %lld ms\n", static_cast<long long>(directMs));
    std::printf("ratio run/direct: %.3f (median of the rounds %.3f)\n",
                static_cast<double>(runMs) / static_cast<double>(directMs), median);
    return 0;
}
