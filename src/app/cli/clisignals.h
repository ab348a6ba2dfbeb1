#pragma once
// SIGINT, SIGTERM and SIGHUP for orvelle-cli. The handler only records the signal and
// writes one byte to a socket pair; the program reads the other end through the event
// loop (a QSocketNotifier) or polls interrupted() where it blocks, and stops cleanly.
#include <QObject>
#include <functional>

class QSocketNotifier;

class CliSignals
{
public:
    // Installs the handlers; false (with errno set) when the socket pair cannot be made.
    static bool install();
    // True once one of the signals has come.
    static bool interrupted();
    // Calls onSignal from the event loop each time signals have come. The returned
    // notifier belongs to parent.
    static QSocketNotifier *watch(QObject *parent, std::function<void()> onSignal);
};
