#pragma once
// orvelle-cli: converts files with a profile of the program directory, without a window.
#include <QString>
#include <QStringList>

// Exit statuses.
namespace CliExit {
constexpr int Ok = 0;            // every task completed (or nothing to convert was asked)
constexpr int TaskFailed = 1;    // a task failed, or the encoder could not be started
constexpr int Usage = 2;         // a usage error, no task, no output folder, an unreadable profile
constexpr int Interrupted = 130; // stopped by SIGINT, SIGTERM or SIGHUP
}  // namespace CliExit

// Runs the command with the arguments that follow the program name; appDir is the program
// directory (ending in "/"), whose Profiles/ and Preferences.ini are read and never
// written. Needs a QCoreApplication and CliSignals::install(). Returns the exit status.
int CliMain(const QStringList &args, const QString &appDir);
