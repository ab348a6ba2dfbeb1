#pragma once
// Helpers shared by the benchmarks: generated clips, throw-away program directories,
// the machine's load, monotonic time stamps and medians.
#include <QString>
#include <QStringList>
#include <vector>

namespace Bench {
// The built program directory (build/bin/), with its trailing "/".
QString builtAppDir();
// The folder the benchmark programs are built into (build/bench/), with its trailing "/".
QString benchDir();
// ffmpeg as found at configure time.
QString ffmpegPath();

// Generates a clip with ffmpeg's test sources (video, and a sine tone when withAudio).
bool makeClip(const QString &path, int seconds, const QString &size = QStringLiteral("160x120"),
              bool withAudio = true);

// Makes dir a program directory: wmaspi.dll linked to encoder and, with shippedData,
// the built Profiles/ and Preferences.ini copied in. Returns dir with a trailing "/",
// or an empty text when something could not be made.
QString makeProgramDir(const QString &dir, const QString &encoder, bool shippedData);
// Copies a file, replacing the target.
bool copyFile(const QString &from, const QString &to);

// "1.23 0.98 0.75": the 1, 5 and 15 minute load averages.
QString loadAverage();
// The system's monotonic clock in nanoseconds (the same clock in every process).
qint64 monotonicNs();

double median(std::vector<double> values);
// Integer argument i of args (0 is the program) when given, else fallback; at least min.
int intArg(const QStringList &args, int i, int fallback, int min = 1);
}  // namespace Bench
