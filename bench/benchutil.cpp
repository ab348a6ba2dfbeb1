#include "benchutil.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <ctime>

namespace Bench {

QString builtAppDir() { return QStringLiteral(ORVELLE_APPDIR); }

QString benchDir() { return QStringLiteral(ORVELLE_BENCH_BIN); }

QString ffmpegPath() { return QStringLiteral(ORVELLE_FFMPEG); }

bool makeClip(const QString &path, int seconds, const QString &size, bool withAudio)
{
    QStringList args{QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("error"),
                     QStringLiteral("-y"), QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                     QStringLiteral("testsrc=size=%1:rate=25:duration=%2").arg(size).arg(seconds)};
    if (withAudio)
        args << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i")
             << QStringLiteral("sine=frequency=440:sample_rate=44100:duration=%1").arg(seconds)
             << QStringLiteral("-shortest");
    args << path;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(ffmpegPath(), args);
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool copyFile(const QString &from, const QString &to)
{
    QFile::remove(to);
    return QFile::copy(from, to);
}

QString makeProgramDir(const QString &dir, const QString &encoder, bool shippedData)
{
    const QString appDir = QDir(dir).absolutePath() + QLatin1Char('/');
    if (!QDir().mkpath(appDir))
        return QString();
    QFile::remove(appDir + QStringLiteral("wmaspi.dll"));
    if (!QFile::link(encoder, appDir + QStringLiteral("wmaspi.dll")))
        return QString();
    if (shippedData) {
        const QString from = builtAppDir();
        if (!QDir().mkpath(appDir + QStringLiteral("Profiles")))
            return QString();
        QDirIterator it(from + QStringLiteral("Profiles"), QDir::Files);
        while (it.hasNext()) {
            it.next();
            if (!copyFile(it.filePath(), appDir + QStringLiteral("Profiles/") + it.fileName()))
                return QString();
        }
        if (!copyFile(from + QStringLiteral("Preferences.ini"), appDir + QStringLiteral("Preferences.ini")))
            return QString();
    }
    return appDir;
}

QString loadAverage()
{
    QFile f(QStringLiteral("/proc/loadavg"));
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() >= 3 ? QString::fromLatin1(parts[0] + ' ' + parts[1] + ' ' + parts[2])
                             : QStringLiteral("unknown");
}

qint64 monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<qint64>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int intArg(const QStringList &args, int i, int fallback, int min)
{
    return args.size() > i ? std::max(min, args[i].toInt()) : fallback;
}

}  // namespace Bench
