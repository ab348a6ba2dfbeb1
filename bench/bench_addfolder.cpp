// What adding a folder costs on top of the encoder's probes: a folder of N generated
// clips added through the library (TaskAdder with MediaProber, one probe per file), and
// the same files given to "encoder -i" one after the other. Each round runs both, in
// alternating order; the totals and the median of the rounds' ratios are printed.
//
//   build/bench/bench_addfolder [clips=20] [rounds=5]
#include "benchutil.h"
#include "conversion/probe.h"
#include "shell/startup.h"
#include "tasks/taskops.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// Milliseconds of adding the folder through the library; -1 when a task was not added
// or its probe found no duration.
qint64 throughLibrary(const QString &encoder, const QString &folder, int expected)
{
    QElapsedTimer clock;
    clock.start();
    TaskList list;
    MediaProber prober(encoder);
    TaskAdder adder(list, [&prober](const QString &path) { return prober.probe(path); });
    adder.outputExt = [] { return QStringLiteral(".mp4"); };
    const int added = adder.addFolder(folder);
    const qint64 ms = clock.elapsed();
    if (added != expected)
        return -1;
    for (int row = 0; row < list.count(); ++row) {
        if (list.cell(row, 0).isEmpty())
            return -1;
    }
    return ms;
}

// Milliseconds of "encoder -i FILE" run for each file one after the other.
qint64 direct(const QString &encoder, const QStringList &files)
{
    QElapsedTimer clock;
    clock.start();
    for (const QString &file : files) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.setStandardInputFile(QProcess::nullDevice());
        p.start(encoder, {QStringLiteral("-i"), file});
        if (!p.waitForFinished(60000) || !p.readAll().contains("Duration"))
            return -1;
    }
    return clock.elapsed();
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int n = Bench::intArg(args, 1, 20);
    const int rounds = Bench::intArg(args, 2, 5);
    std::printf("load average at start: %s\n", qPrintable(Bench::loadAverage()));

    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("clips"));
    QDir().mkpath(folder);
    for (int i = 0; i < n; ++i) {
        const QString path = folder + QStringLiteral("/clip%1.mp4").arg(i, 4, 10, QLatin1Char('0'));
        if (!Bench::makeClip(path, 1)) {
            std::fprintf(stderr, "could not generate %s\n", qPrintable(path));
            return 1;
        }
    }
    const QString encoder = Bench::builtAppDir() + QStringLiteral("wmaspi.dll");
    QStringList files;
    for (const QString &name : FolderTaskFiles(folder, BuildFolderMask(DefaultInputExts())))
        files.append(folder + QLatin1Char('/') + name);
    direct(encoder, files.mid(0, 1));  // warm-up: caches and the encoder's libraries

    qint64 libMs = 0, directMs = 0;
    std::vector<double> ratios;
    for (int r = 0; r < rounds; ++r) {
        qint64 d = 0, l = 0;
        if (r % 2 == 0) {
            d = direct(encoder, files);
            l = throughLibrary(encoder, folder, n);
        } else {
            l = throughLibrary(encoder, folder, n);
            d = direct(encoder, files);
        }
        if (d < 0 || l < 0) {
            std::fprintf(stderr, "a probe failed\n");
            return 1;
        }
        std::printf("round %d: library %lld ms, direct %lld ms\n", r + 1, static_cast<long long>(l),
                    static_cast<long long>(d));
        libMs += l;
        directMs += d;
        ratios.push_back(static_cast<double>(l) / static_cast<double>(d));
    }
    std::printf("%d clips of 1 s (160x120), %d rounds\n", n, rounds);
    std::printf("through the library: %lld ms (%.1f ms a file)\n", static_cast<long long>(libMs),
                static_cast<double>(libMs) / (n * rounds));
    std::printf("encoder -i directly: %lld ms (%.1f ms a file)\n", static_cast<long long>(directMs),
                static_cast<double>(directMs) / (n * rounds));
    std::printf("ratio library/direct: %.3f (median of the rounds %.3f)\n",
                static_cast<double>(libMs) / static_cast<double>(directMs), Bench::median(ratios));
    std::printf("load average at end: %s\n", qPrintable(Bench::loadAverage()));
    return 0;
}
