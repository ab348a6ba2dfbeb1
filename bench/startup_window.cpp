// One side of the start-up benchmark, built twice: as bench_startup_orvelle (the
// program's windows, created and shown as the program does) and as bench_startup_bare (a
// bare QMainWindow of the same size, built with BARE_WINDOW). The window is shown
// offscreen; when its first expose has been handled (the window painted) the program
// prints "spawn_ms S main_ms M app_ms A windows_ms W" and ends: S counted from
// BENCH_SPAWN_NS (the monotonic time at which the benchmark started this process), M from
// the start of main(); A is the making of the application object and its style, W the
// creation of the windows (the rest of M is showing and painting).
//
//   bench_startup_orvelle APPDIR      bench_startup_bare
#include "benchutil.h"

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QStyleFactory>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <memory>

#ifndef BARE_WINDOW
#include "app/ui/application.h"
#include "app/ui/mainform.h"
#endif

namespace {

// Prints the times once the window's first expose has been handled, then quits.
class FirstShow : public QObject
{
public:
    FirstShow(QWindow *window, qint64 mainNs, qint64 appNs, qint64 windowsNs)
        : QObject(window), m_mainNs(mainNs), m_appNs(appNs), m_windowsNs(windowsNs)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && !m_seen && static_cast<QWindow *>(watched)->isExposed()) {
            m_seen = true;
            // The expose is handled (and the window painted) before this runs.
            QTimer::singleShot(0, this, [this] {
                const qint64 now = Bench::monotonicNs();
                const qint64 spawn = qEnvironmentVariableIsSet("BENCH_SPAWN_NS")
                                         ? qgetenv("BENCH_SPAWN_NS").toLongLong()
                                         : m_mainNs;
                std::printf("spawn_ms %.2f main_ms %.2f app_ms %.2f windows_ms %.2f\n", (now - spawn) / 1e6,
                            (now - m_mainNs) / 1e6, (m_appNs - m_mainNs) / 1e6, (m_windowsNs - m_appNs) / 1e6);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    qint64 m_mainNs, m_appNs, m_windowsNs;
    bool m_seen = false;
};

}  // namespace

int main(int argc, char *argv[])
{
    const qint64 mainNs = Bench::monotonicNs();
#ifdef BARE_WINDOW
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const qint64 appNs = Bench::monotonicNs();
    auto window = std::make_unique<QMainWindow>();
    window->resize(790, 505);
#else
    OrvelleApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const qint64 appNs = Bench::monotonicNs();
    const QString appDir = QCoreApplication::arguments().value(1);
    std::unique_ptr<TMainForm> window;
    ReportErrors([&] { window.reset(CreateWindows(appDir, {}).MainForm); });
    if (!window)
        return 1;
#endif
    const qint64 windowsNs = Bench::monotonicNs();
    window->winId();  // the platform window exists before it is shown, so its first expose is seen
    new FirstShow(window->windowHandle(), mainNs, appNs, windowsNs);
    window->show();
    return QApplication::exec();
}
