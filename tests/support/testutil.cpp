#include "testutil.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace TestUtil {

QString builtAppDir() { return QStringLiteral(ORVELLE_APPDIR); }

QString makeAppDir(const QTemporaryDir &dir, bool withShippedData)
{
    const QString appDir = dir.path() + QLatin1Char('/');
    QFile::link(QStringLiteral(ORVELLE_FFMPEG), appDir + QStringLiteral("wmaspi.dll"));
    if (withShippedData) {
        const QString data = QStringLiteral(ORVELLE_SOURCE_DIR) + QStringLiteral("data/");
        QDirIterator it(data, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString src = it.next();
            const QString dst = appDir + src.mid(data.size());
            QDir().mkpath(QFileInfo(dst).path());
            QFile::copy(src, dst);
            QFile(dst).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        }
    }
    return appDir;
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool makeClip(const QString &path, double seconds, const QStringList &outputOptions, const QString &size,
              bool withAudio)
{
    QStringList args{QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("error"),
                     QStringLiteral("-y"), QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                     QStringLiteral("testsrc=size=%1:rate=25:duration=%2").arg(size).arg(seconds)};
    if (withAudio)
        args << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i")
             << QStringLiteral("sine=frequency=440:sample_rate=44100:duration=%1").arg(seconds);
    args << outputOptions;
    args << QStringLiteral("-shortest") << path;
    int code = -1;
    run(QStringLiteral(ORVELLE_FFMPEG), args, &code);
    return code == 0 && QFileInfo::exists(path);
}

QString run(const QString &program, const QStringList &args, int *exitCode, int timeoutMs)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
    }
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAll());
}

QString probeEntry(const QString &file, const QString &stream, const QString &entry)
{
    QStringList args{QStringLiteral("-v"), QStringLiteral("error")};
    if (stream == QLatin1String("format")) {
        args << QStringLiteral("-show_entries") << QStringLiteral("format=") + entry;
    } else {
        args << QStringLiteral("-select_streams") << stream << QStringLiteral("-show_entries")
             << QStringLiteral("stream=") + entry;
    }
    args << QStringLiteral("-of") << QStringLiteral("default=noprint_wrappers=1:nokey=1") << file;
    return run(QStringLiteral(ORVELLE_FFPROBE), args).trimmed();
}

}  // namespace TestUtil
