// Peak memory of the main window holding N tasks (default 1,000) against the same window
// with none. Each side is a fresh process (this program started again with "--child"),
// so each peak is its own: the window is created as the program creates it, shown
// offscreen, and the tasks are added through the window's folder add, every file probed
// by an encoder stand-in that answers at once (bench_fake_probe, linked as wmaspi.dll).
// The peak is the process's VmHWM once the list has been laid out and painted.
//
//   build/bench/bench_memory [tasks=1000] [rounds=3]
#include "app/ui/application.h"
#include "app/ui/mainform.h"
#include "benchutil.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <cstdio>
#include <memory>

namespace {

// A field of /proc/self/status in kB ("VmHWM", "VmRSS"); -1 when absent.
qint64 statusKb(const char *field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// The measured side. The folder is added from inside the event loop, as a click on Add
// Directory does (objects the add releases late are released when it has returned);
// then the list is laid out and painted at its top and at its end, and the program
// prints "peak_kb P rss_kb R add_ms A rows N".
int child(int argc, char *argv[])
{
    OrvelleApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QStringList args = QCoreApplication::arguments();
    const int tasks = args.value(2).toInt();
    const QString appDir = args.value(3), folder = args.value(4);
    std::unique_ptr<TMainForm> form;
    ReportErrors([&] { form.reset(CreateWindows(appDir, {}).MainForm); });
    if (!form)
        return 1;
    form->show();
    qint64 addMs = 0;
    QTimer::singleShot(200, form.get(), [&] {
        QElapsedTimer clock;
        clock.start();
        if (tasks > 0)
            form->AddTaskFolder(folder);
        form->EnableListCommandsIfAny();
        addMs = clock.elapsed();
        QTimer::singleShot(200, form.get(), [&] {
            form->ltvTask->scrollToBottom();
            QTimer::singleShot(200, form.get(), [] { QCoreApplication::exit(0); });
        });
    });
    QApplication::exec();
    std::printf("peak_kb %lld rss_kb %lld add_ms %lld rows %d\n", statusKb("VmHWM"), statusKb("VmRSS"),
                static_cast<long long>(addMs), form->Tasks.count());
    std::fflush(stdout);
    return 0;
}

struct Sample
{
    qint64 peakKb = -1, rssKb = -1, addMs = 0;
    int rows = -1;
};

Sample runChild(const QString &self, int tasks, const QString &appDir, const QString &folder)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(self, {QStringLiteral("--child"), QString::number(tasks), appDir, folder});
    Sample s;
    if (!p.waitForFinished(600000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::fprintf(stderr, "%s", p.readAllStandardError().constData());
        return s;
    }
    const QList<QByteArray> w = p.readAllStandardOutput().simplified().split(' ');
    if (w.size() >= 8) {
        s.peakKb = w[1].toLongLong();
        s.rssKb = w[3].toLongLong();
        s.addMs = w[5].toLongLong();
        s.rows = w[7].toInt();
    }
    return s;
}

}  // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && qstrcmp(argv[1], "--child") == 0)
        return child(argc, argv);

    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int tasks = Bench::intArg(args, 1, 1000);
    const int rounds = Bench::intArg(args, 2, 3);
    std::printf("load average at start: %s\n", qPrintable(Bench::loadAverage()));

    QTemporaryDir dir;
    const QString appDir = Bench::makeProgramDir(dir.filePath(QStringLiteral("program")),
                                                 Bench::benchDir() + QStringLiteral("bench_fake_probe"), true);
    const QString folder = dir.filePath(QStringLiteral("videos"));
    QDir().mkpath(folder);
    if (appDir.isEmpty()) {
        std::fprintf(stderr, "could not make the program directory\n");
        return 1;
    }
    // The files only need to exist: the stand-in encoder never opens them.
    for (int i = 0; i < tasks; ++i) {
        QFile f(folder + QStringLiteral("/video%1.avi").arg(i, 5, 10, QLatin1Char('0')));
        if (!f.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "could not make %s\n", qPrintable(f.fileName()));
            return 1;
        }
    }

    const QString self = QCoreApplication::applicationFilePath();
    std::vector<double> empty, full, ratios, addMs, emptyRss, fullRss;
    for (int r = 0; r < rounds; ++r) {
        Sample e, f;
        if (r % 2 == 0) {
            e = runChild(self, 0, appDir, folder);
            f = runChild(self, tasks, appDir, folder);
        } else {
            f = runChild(self, tasks, appDir, folder);
            e = runChild(self, 0, appDir, folder);
        }
        if (e.peakKb < 0 || f.peakKb < 0 || e.rows != 0 || f.rows != tasks) {
            std::fprintf(stderr, "a window did not come up with the tasks (rows %d and %d)\n", e.rows, f.rows);
            return 1;
        }
        std::printf("round %d: peak with %d tasks %lld kB, with none %lld kB; adding took %lld ms\n", r + 1, tasks,
                    f.peakKb, e.peakKb, f.addMs);
        empty.push_back(static_cast<double>(e.peakKb));
        full.push_back(static_cast<double>(f.peakKb));
        ratios.push_back(static_cast<double>(f.peakKb) / static_cast<double>(e.peakKb));
        addMs.push_back(static_cast<double>(f.addMs));
        emptyRss.push_back(static_cast<double>(e.rssKb));
        fullRss.push_back(static_cast<double>(f.rssKb));
    }
    const double e = Bench::median(empty), f = Bench::median(full);
    std::printf("%d tasks, %d rounds (medians)\n", tasks, rounds);
    std::printf("peak with %d tasks: %.0f kB\n", tasks, f);
    std::printf("peak with no task:  %.0f kB\n", e);
    std::printf("difference: %.0f kB, %.0f bytes a task\n", f - e, (f - e) * 1024.0 / tasks);
    std::printf("ratio tasks/none: %.3f (median of the rounds %.3f)\n", f / e, Bench::median(ratios));
    std::printf("resident at the end: %.0f kB with %d tasks, %.0f kB with none (%.0f bytes a task)\n",
                Bench::median(fullRss), tasks, Bench::median(emptyRss),
                (Bench::median(fullRss) - Bench::median(emptyRss)) * 1024.0 / tasks);
    std::printf("adding the tasks took %.0f ms (%.2f ms a task)\n", Bench::median(addMs),
                Bench::median(addMs) / tasks);
    std::printf("load average at end: %s\n", qPrintable(Bench::loadAverage()));
    return 0;
}
