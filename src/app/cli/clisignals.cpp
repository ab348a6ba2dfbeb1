#include "app/cli/clisignals.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
volatile sig_atomic_t g_signal = 0;
int g_fds[2] = {-1, -1};  // [0] read by the event loop, [1] written by the handler

void OnSignal(int sig)
{
    const int saved = errno;
    g_signal = sig;
    const char byte = 1;
    // Non-blocking: when the pair is full, the program has been told already.
    [[maybe_unused]] const ssize_t n = ::write(g_fds[1], &byte, 1);
    errno = saved;
}
}  // namespace

bool CliSignals::install()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_fds) != 0)
        return false;
    struct sigaction sa = {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        if (::sigaction(sig, &sa, nullptr) != 0)
            return false;
    }
    return true;
}

bool CliSignals::interrupted() { return g_signal != 0; }

QSocketNotifier *CliSignals::watch(QObject *parent, std::function<void()> onSignal)
{
    auto *notifier = new QSocketNotifier(g_fds[0], QSocketNotifier::Read, parent);
    QObject::connect(notifier, &QSocketNotifier::activated, parent, [onSignal = std::move(onSignal)] {
        char buffer[64];
        while (::read(g_fds[0], buffer, sizeof buffer) > 0) {
        }
        onSignal();
    });
    return notifier;
}
