// Start-up to the first shown window: the program's windows (created and shown as the
// program does, with the shipped profiles and preferences copied into a throw-away
// program directory) against a bare QMainWindow, each started N times as a fresh process
// on the offscreen platform, in alternating order. Each start is timed from the moment
// this benchmark starts the process to the moment the window's first expose has been
// handled; the medians and their ratio are printed.
//
//   build/bench/bench_startup [starts=15]
#include "benchutil.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace {

struct Start
{
    double spawnMs = -1, mainMs = -1, appMs = -1, windowsMs = -1;
};

Start startOnce(const QString &program, const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("BENCH_SPAWN_NS"), QString::number(Bench::monotonicNs()));
    p.setProcessEnvironment(env);
    p.start(program, args);
    Start s;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::fprintf(stderr, "%s", p.readAllStandardError().constData());
        return s;
    }
    const QList<QByteArray> w = p.readAllStandardOutput().simplified().split(' ');
    if (w.size() >= 8) {
        s.spawnMs = w[1].toDouble();
        s.mainMs = w[3].toDouble();
        s.appMs = w[5].toDouble();
        s.windowsMs = w[7].toDouble();
    }
    return s;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int starts = Bench::intArg(args, 1, 15);
    std::printf("load average at start: %s\n", qPrintable(Bench::loadAverage()));

    QTemporaryDir dir;
    const QString appDir = Bench::makeProgramDir(dir.filePath(QStringLiteral("program")), Bench::ffmpegPath(), true);
    if (appDir.isEmpty()) {
        std::fprintf(stderr, "could not make the program directory\n");
        return 1;
    }
    const QString orvelle = Bench::benchDir() + QStringLiteral("bench_startup_orvelle");
    const QString bare = Bench::benchDir() + QStringLiteral("bench_startup_bare");
    startOnce(orvelle, {appDir});  // warm-up: the libraries into the page cache
    startOnce(bare, {});

    std::vector<double> oSpawn, oMain, oApp, oWindows, bSpawn, bMain, bApp, bWindows, ratios;
    for (int i = 0; i < starts; ++i) {
        Start o, b;
        if (i % 2 == 0) {
            o = startOnce(orvelle, {appDir});
            b = startOnce(bare, {});
        } else {
            b = startOnce(bare, {});
            o = startOnce(orvelle, {appDir});
        }
        if (o.spawnMs < 0 || b.spawnMs < 0) {
            std::fprintf(stderr, "a window did not show\n");
            return 1;
        }
        oSpawn.push_back(o.spawnMs);
        oMain.push_back(o.mainMs);
        oApp.push_back(o.appMs);
        oWindows.push_back(o.windowsMs);
        bSpawn.push_back(b.spawnMs);
        bMain.push_back(b.mainMs);
        bApp.push_back(b.appMs);
        bWindows.push_back(b.windowsMs);
        ratios.push_back(o.spawnMs / b.spawnMs);
    }
    const double o = Bench::median(oSpawn), b = Bench::median(bSpawn);
    std::printf("%d starts each, offscreen; medians, from the process's start to its window shown and painted\n",
                starts);
    const auto line = [](const char *name, double total, const std::vector<double> &inMain,
                         const std::vector<double> &appMs, const std::vector<double> &windowsMs) {
        std::printf("%s %.1f ms (in main %.1f ms: application %.1f, windows created %.1f, shown %.1f)\n", name, total,
                    Bench::median(inMain), Bench::median(appMs), Bench::median(windowsMs),
                    Bench::median(inMain) - Bench::median(appMs) - Bench::median(windowsMs));
    };
    line("program's windows:", o, oMain, oApp, oWindows);
    line("bare QMainWindow: ", b, bMain, bApp, bWindows);
    std::printf("ratio program/bare: %.3f (median of the pairs %.3f)\n", o / b, Bench::median(ratios));
    std::printf("load average at end: %s\n", qPrintable(Bench::loadAverage()));
    return 0;
}
