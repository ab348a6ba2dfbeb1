#pragma once
// Shared test helpers: temporary program directories and generated clips.
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace TestUtil {
// The built program directory (with its trailing "/").
QString builtAppDir();
// A fresh program directory in dir: wmaspi.dll linked to ffmpeg, and optionally the
// shipped Profiles and Preferences.ini copied in. Returns the path with a trailing "/".
QString makeAppDir(const QTemporaryDir &dir, bool withShippedData = true);
// Writes bytes to a file, making its folder; returns the path.
QString writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);
// Generates a clip with ffmpeg's test sources; extra are the output options
// (codecs etc.). Fails the test when ffmpeg fails.
bool makeClip(const QString &path, double seconds, const QStringList &outputOptions = {},
              const QString &size = QStringLiteral("160x120"), bool withAudio = true);
// Runs a program and returns its merged output; exitCode receives its exit status.
QString run(const QString &program, const QStringList &args, int *exitCode = nullptr, int timeoutMs = 120000);
// ffprobe's value of one stream or format entry, e.g. ("v:0", "codec_name").
QString probeEntry(const QString &file, const QString &stream, const QString &entry);
}  // namespace TestUtil
