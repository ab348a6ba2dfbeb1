// orvelle-cli, run as a user runs it: the built program copied into temporary program
// directories, real ffmpeg on generated clips.
#include "conversion/probe.h"
#include "profiles/profiles.h"
#include "testutil.h"

#include <QtTest>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QDateTime>
#include <QDeadlineTimer>
#include <csignal>
#include <signal.h>
#include <sys/types.h>
#include <unistd.h>

namespace {
struct CliResult
{
    int exitCode = -1;
    QString out;
    QString err;
};

const QString Mp4Profile = QStringLiteral("MP4 - H.264 Video + AAC Audio");

// A program directory with the built command copied in (a link would make the command
// look for its data beside the link's target).
QString makeCliAppDir(const QTemporaryDir &dir, bool withShippedData)
{
    const QString appDir = TestUtil::makeAppDir(dir, withShippedData);
    const QString cli = appDir + QStringLiteral("orvelle-cli");
    if (!QFile::copy(TestUtil::builtAppDir() + QStringLiteral("orvelle-cli"), cli))
        return QString();
    QFile(cli).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return appDir;
}

// The parent process id of a process, from /proc; -1 when it is gone.
qint64 parentOf(qint64 pid)
{
    const QByteArray stat = TestUtil::readFile(QStringLiteral("/proc/%1/stat").arg(pid));
    const int close = stat.lastIndexOf(')');
    if (close < 0)
        return -1;
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() : -1;
}

// True while the process exists and has not ended (a zombie has ended).
bool isRunning(qint64 pid)
{
    const QByteArray stat = TestUtil::readFile(QStringLiteral("/proc/%1/stat").arg(pid));
    const int close = stat.lastIndexOf(')');
    return close >= 0 && stat.size() > close + 2 && stat[close + 2] != 'Z';
}

QList<qint64> childrenOf(qint64 pid)
{
    QList<qint64> children;
    for (const QString &name : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool ok = false;
        const qint64 p = name.toLongLong(&ok);
        if (ok && parentOf(p) == pid)
            children.append(p);
    }
    return children;
}
}  // namespace

class TestCli : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QTemporaryDir m_programDir;
    QString m_app;         // program directory with the shipped profiles
    QString m_prefsOut;    // the output folder Preferences.ini names
    QString m_clip1, m_clip2;

    CliResult cli(const QStringList &args, const QString &appDir = QString(), int timeoutMs = 120000)
    {
        QProcess p;
        p.setStandardInputFile(QProcess::nullDevice());
        p.start((appDir.isEmpty() ? m_app : appDir) + QStringLiteral("orvelle-cli"), args);
        CliResult r;
        if (!p.waitForFinished(timeoutMs)) {
            p.kill();
            p.waitForFinished();
            return r;
        }
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

    // Placeholders of the tables: %CLIP1% %CLIP2% %ROOT% (the temporary folder) %PREFSOUT%.
    QStringList expand(QStringList texts) const
    {
        for (QString &t : texts) {
            t.replace(QLatin1String("%CLIP1%"), m_clip1);
            t.replace(QLatin1String("%CLIP2%"), m_clip2);
            t.replace(QLatin1String("%ROOT%"), m_root.path());
            t.replace(QLatin1String("%PREFSOUT%"), m_prefsOut);
        }
        return texts;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(QFileInfo(TestUtil::builtAppDir() + QStringLiteral("orvelle-cli")).isExecutable());
        m_app = makeCliAppDir(m_programDir, true);
        QVERIFY(!m_app.isEmpty());
        m_prefsOut = m_root.filePath(QStringLiteral("prefs-out"));
        QVERIFY(QDir().mkpath(m_prefsOut));
        // The window chose the MP4 profile, this output folder, and overwriting.
        const int position = ProfileNames(m_app).indexOf(Mp4Profile);
        QVERIFY(position > 0);
        TestUtil::writeFile(m_app + QStringLiteral("Preferences.ini"),
                            QStringLiteral("[Main]\r\nVersion=3.2\r\nProfile=%1\r\nOutput Path=%2\r\nOverwrite=1\r\n")
                                .arg(position)
                                .arg(m_prefsOut)
                                .toUtf8());
        m_clip1 = m_root.filePath(QStringLiteral("clip1.mp4"));
        m_clip2 = m_root.filePath(QStringLiteral("clip2.avi"));
        QVERIFY(TestUtil::makeClip(m_clip1, 3));
        QVERIFY(TestUtil::makeClip(m_clip2, 3, {QStringLiteral("-c:v"), QStringLiteral("mpeg4"), QStringLiteral("-c:a"),
                                                 QStringLiteral("mp3")}));
        TestUtil::writeFile(m_root.filePath(QStringLiteral("notes.txt")), "not a video");
        TestUtil::writeFile(m_root.filePath(QStringLiteral("broken.avi")), "not a video either");
    }

    // Options and exit statuses; each bad option is a usage error (2) and says why.
    void options_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");  // a part of standard output
        QTest::addColumn<QString>("err");  // a part of standard error

        const QString clip = QStringLiteral("%CLIP1%");
        QTest::newRow("help") << QStringList{QStringLiteral("--help")} << 0 << "Usage: orvelle-cli [options] PATH..."
                              << "";
        QTest::newRow("version from Preferences.ini")
            << QStringList{QStringLiteral("--version")} << 0 << "Orvelle Video Converter V3.2" << "";
        QTest::newRow("unknown option") << QStringList{QStringLiteral("--bogus"), clip} << 2 << ""
                                        << "Unknown option 'bogus'";
        QTest::newRow("missing value") << QStringList{clip, QStringLiteral("--output")} << 2 << ""
                                       << "Missing value after '--output'";
        QTest::newRow("unknown profile") << QStringList{QStringLiteral("--profile"), QStringLiteral("Nope"), clip} << 2
                                         << "" << "There is no profile \"Nope\"";
        QTest::newRow("unknown profile, listing")
            << QStringList{QStringLiteral("--list-profiles"), QStringLiteral("--profile"), QStringLiteral("Nope")} << 2
            << "" << "There is no profile \"Nope\"";
        QTest::newRow("unknown parameter") << QStringList{QStringLiteral("--set"), QStringLiteral("Colour=Red"), clip}
                                           << 2 << "" << "has no parameter \"Colour\"";
        QTest::newRow("caption not in the list")
            << QStringList{QStringLiteral("--set"), QStringLiteral("Frame Rate=24"), clip} << 2 << ""
            << "\"24\" is not a choice of \"Frame Rate\"";
        for (const char *size : {"0x240", "320x", "320 x 240", "-320x240", "Custom Size"})
            QTest::newRow(qPrintable(QStringLiteral("bad video size %1").arg(QLatin1String(size))))
                << QStringList{QStringLiteral("--set"), QStringLiteral("Video Size=") + QLatin1String(size), clip} << 2
                << "" << "such as 320x240";
        QTest::newRow("fixed parameter") << QStringList{QStringLiteral("--set"), QStringLiteral("Video Codec=mpeg4"), clip}
                                         << 2 << "" << "\"Video Codec\" is fixed";
        QTest::newRow("set without a value") << QStringList{QStringLiteral("--set"), QStringLiteral("Video Size"), clip}
                                             << 2 << "" << "PARAMETER=VALUE";
        QTest::newRow("start not a time") << QStringList{QStringLiteral("--start"), QStringLiteral("5"), clip} << 2 << ""
                                          << "--start \"5\" is not a time";
        QTest::newRow("end not a time") << QStringList{QStringLiteral("--end"), QStringLiteral("00:0x:05"), clip} << 2
                                        << "" << "--end \"00:0x:05\" is not a time";
        QTest::newRow("rename and overwrite")
            << QStringList{QStringLiteral("--rename"), QStringLiteral("--overwrite"), clip} << 2 << ""
            << "exclude each other";
        QTest::newRow("no path") << QStringList{QStringLiteral("--profile"), Mp4Profile} << 2 << "" << "no PATH given";
        QTest::newRow("no task: unsupported and missing paths")
            << QStringList{QStringLiteral("%ROOT%/notes.txt"), QStringLiteral("%ROOT%/missing.avi")} << 2 << ""
            << "skipped \"%ROOT%/notes.txt\": not a supported video file.\n"
               "orvelle-cli: skipped \"%ROOT%/missing.avi\": no such file or folder.\n"
               "orvelle-cli: no task to convert.";
        QTest::newRow("output folder missing")
            << QStringList{QStringLiteral("--output"), QStringLiteral("%ROOT%/nowhere"), clip} << 2 << ""
            << "The output path \"%ROOT%/nowhere\" does not exist.";
        QTest::newRow("a task failed") << QStringList{QStringLiteral("--output"), QStringLiteral("%ROOT%"),
                                                      QStringLiteral("%ROOT%/broken.avi")}
                                       << 1 << "[1/1] Error: %ROOT%/broken.mp4" << "";
    }
    void options()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const CliResult r = cli(expand(args));
        QVERIFY2(r.out.contains(expand({out}).first()), qPrintable(r.out));
        QVERIFY2(r.err.contains(expand({err}).first()), qPrintable(r.err));
        QCOMPARE(r.exitCode, exitCode);
        if (exitCode == 2)
            QVERIFY(r.out.isEmpty());
    }

    // What --dry-run shows: the task list's Length and Size, and the command line the run
    // would start, with the profile and output folder the window chose.
    void dryRun_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("options");  // what follows the source in the command line
        QTest::addColumn<QString>("output");   // the output file, relative to %ROOT%
        QTest::addColumn<QString>("err");

        const QString profile = QStringLiteral(" -c:v libx264 -c:a aac -b:a 128k -ar 44100 -ac 2 -preset medium"
                                               " -pix_fmt yuv420p -movflags +faststart");
        QTest::newRow("whole file") << QStringList{} << profile << "prefs-out/clip1.mp4" << "";
        QTest::newRow("start and end")
            << QStringList{QStringLiteral("--start"), QStringLiteral("00:00:01"), QStringLiteral("--end"),
                           QStringLiteral("00:00:02.5")}
            << profile + QStringLiteral(" -ss 00:00:01 -t 2") << "prefs-out/clip1.mp4" << "";
        QTest::newRow("end only") << QStringList{QStringLiteral("--end"), QStringLiteral("00:00:01")}
                                  << profile + QStringLiteral(" -t 1") << "prefs-out/clip1.mp4" << "";
        QTest::newRow("start past the end is refused")
            << QStringList{QStringLiteral("--start"), QStringLiteral("00:00:05"), QStringLiteral("--end"),
                           QStringLiteral("00:00:02")}
            << profile + QStringLiteral(" -t 2") << "prefs-out/clip1.mp4"
            << "\"%CLIP1%\": start time 00:00:05 refused; the task starts at 00:00:00.";
        QTest::newRow("set picks and a size")
            << QStringList{QStringLiteral("--set"), QStringLiteral("Video Size=1280x720"), QStringLiteral("--set"),
                           QStringLiteral("audio bitrate=64 KBPS"), QStringLiteral("--set"),
                           QStringLiteral("Video Size=352x288")}
            << QStringLiteral(" -c:v libx264 -s 352x288 -c:a aac -b:a 64k -ar 44100 -ac 2 -preset medium"
                              " -pix_fmt yuv420p -movflags +faststart")
            << "prefs-out/clip1.mp4" << "";
        QTest::newRow("other profile and folder, rename a taken name")
            << QStringList{QStringLiteral("--profile"), QStringLiteral("mp3 - audio only"), QStringLiteral("--output"),
                           QStringLiteral("%ROOT%"), QStringLiteral("--rename")}
            // An option without argument keeps the blank its empty argument leaves.
            << QStringLiteral(" -vn  -c:a libmp3lame -b:a 192k -ac 2") << "clip1_1.mp3" << "";
    }
    void dryRun()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, options);
        QFETCH(QString, output);
        QFETCH(QString, err);
        // A file of the MP3 output's name is there already.
        TestUtil::writeFile(m_root.filePath(QStringLiteral("clip1.mp3")), "taken");
        const CliResult r = cli(expand(args + QStringList{QStringLiteral("--dry-run"), QStringLiteral("%CLIP1%")}));
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.err, expand({err.isEmpty() ? QString() : QStringLiteral("orvelle-cli: ") + err + QLatin1Char('\n')}).first());
        MediaProber prober(QStringLiteral(ORVELLE_FFMPEG));
        const ProbeResults probe = prober.probe(m_clip1);
        QVERIFY(probe.Duration.startsWith(QLatin1String("00:00:03")));
        const QStringList expected{
            m_clip1,
            QStringLiteral("  Length: ") + probe.Duration,
            QStringLiteral("  Size: ") + probe.FrameSize.trimmed(),
            QStringLiteral("  Command line: -y -i \"%1\"%2 \"%3\"").arg(m_clip1, options, m_root.filePath(output)),
        };
        QCOMPARE(r.out, expected.join(QLatin1Char('\n')) + QLatin1Char('\n'));
        QVERIFY(QDir(m_prefsOut).isEmpty());
    }

    void listProfiles()
    {
        const CliResult r = cli({QStringLiteral("--list-profiles")});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
        const QStringList lines = r.out.split(QLatin1Char('\n'));
        for (const QString &name : ProfileNames(QStringLiteral(ORVELLE_SOURCE_DIR) + QStringLiteral("data/")))
            QVERIFY2(lines.contains(name), qPrintable(name));
        const int mp4 = lines.indexOf(Mp4Profile);
        const QStringList expected{
            QStringLiteral("  Output type: mp4"),
            QStringLiteral("  Video"),
            QStringLiteral("    Video Codec: H.264 (x264) [fixed]"),
            QStringLiteral("    Video Size: Original Size [Original Size | 1920x1080 | 1280x720 | 854x480 | 640x360 | "
                           "640x480 | 320x240 | Custom Size (WIDTHxHEIGHT)]"),
        };
        QCOMPARE(lines.mid(mp4 + 1, expected.size()), expected);
        QVERIFY(lines.contains(QStringLiteral("    Audio Bitrate: 128 kbps [64 kbps | 96 kbps | 128 kbps | 160 kbps | "
                                              "192 kbps | 256 kbps]")));
        QVERIFY(lines.contains(QStringLiteral("  Advanced")));
    }

    // Two clips converted with a size, another pick and a cut; the program directory stays
    // as it was.
    void convertTwoClips()
    {
        const QString out = m_root.filePath(QStringLiteral("converted"));
        QVERIFY(QDir().mkpath(out));
        const QString prefs = m_app + QStringLiteral("Preferences.ini");
        const QString profile = ProfilePath(m_app, Mp4Profile);
        const QByteArray prefsBefore = TestUtil::readFile(prefs);
        const QByteArray profileBefore = TestUtil::readFile(profile);
        const QDateTime prefsTime = QFileInfo(prefs).lastModified();
        const QDateTime profileTime = QFileInfo(profile).lastModified();
        const QStringList filesBefore = QDir(m_app).entryList(QDir::AllEntries | QDir::Hidden, QDir::Name);

        const CliResult r = cli({QStringLiteral("--profile"), Mp4Profile, QStringLiteral("--output"), out,
                                 QStringLiteral("--set"), QStringLiteral("Video Size=320x240"), QStringLiteral("--set"),
                                 QStringLiteral("Channels=Mono"), QStringLiteral("--start"), QStringLiteral("00:00:01"),
                                 QStringLiteral("--end"), QStringLiteral("00:00:02"), m_clip1, m_clip2});
        QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
        QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
        const QStringList expectedLines{
            QStringLiteral("Converting 2 task(s) with \"%1\" into %2/").arg(Mp4Profile, out),
            QStringLiteral("[1/2] Converting ") + m_clip1,
            QStringLiteral("[1/2] Complete: %1/clip1.mp4").arg(out),
            QStringLiteral("[2/2] Converting ") + m_clip2,
            QStringLiteral("[2/2] Complete: %1/clip2.mp4").arg(out),
        };
        // Not a terminal: plain lines, no progress line drawn over itself.
        QVERIFY(!r.out.contains(QLatin1Char('\r')));
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.mid(0, 5), expectedLines);
        QVERIFY2(lines.value(5).startsWith(QLatin1String("Summary: 2 task(s), 2 complete, 0 failed; elapsed ")),
                 qPrintable(r.out));

        for (const QString &name : {QStringLiteral("clip1.mp4"), QStringLiteral("clip2.mp4")}) {
            const QString file = out + QLatin1Char('/') + name;
            QCOMPARE(TestUtil::probeEntry(file, QStringLiteral("v:0"), QStringLiteral("width")), QStringLiteral("320"));
            QCOMPARE(TestUtil::probeEntry(file, QStringLiteral("v:0"), QStringLiteral("height")), QStringLiteral("240"));
            QCOMPARE(TestUtil::probeEntry(file, QStringLiteral("a:0"), QStringLiteral("channels")), QStringLiteral("1"));
            const double seconds = TestUtil::probeEntry(file, QStringLiteral("format"), QStringLiteral("duration")).toDouble();
            QVERIFY2(seconds > 0.9 && seconds < 1.2, qPrintable(QString::number(seconds)));
        }

        QCOMPARE(TestUtil::readFile(prefs), prefsBefore);
        QCOMPARE(TestUtil::readFile(profile), profileBefore);
        QCOMPARE(QFileInfo(prefs).lastModified(), prefsTime);
        QCOMPARE(QFileInfo(profile).lastModified(), profileTime);
        QCOMPARE(QDir(m_app).entryList(QDir::AllEntries | QDir::Hidden, QDir::Name), filesBefore);
    }

    // A signal during a conversion stops the encoder as Stop does: the task ends as "Stop",
    // what the encoder wrote stays, no encoder is left, and the exit status is 130.
    void signalStopsTheRun_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("toGroup");  // to the program's whole process group, as a terminal sends Ctrl-C
        QTest::newRow("SIGINT") << int(SIGINT) << false;
        QTest::newRow("SIGTERM") << int(SIGTERM) << false;
        QTest::newRow("Ctrl-C at a terminal") << int(SIGINT) << true;
        QTest::newRow("killed outright") << int(SIGKILL) << false;
    }
    void signalStopsTheRun()
    {
        QFETCH(int, signal);
        QFETCH(bool, toGroup);
        // A profile that paces the encoder at the clip's speed, so the run lasts, and has it
        // write each packet as it comes.
        QTemporaryDir dir;
        const QString app = makeCliAppDir(dir, false);
        QVERIFY(!app.isEmpty());
        TestUtil::writeFile(app + QStringLiteral("Profiles/Paced.apf"),
                            "[Main]\r\nType=ts\r\nPara=3\r\n0=Video Codec\r\n1=Pace\r\n2=Flush\r\n"
                            "[Video Codec]\r\nSort=1\r\nReadOnly=1\r\nList=0\r\ncmd=-c:v\r\nCaption=MPEG-4\r\nValue=mpeg4\r\n"
                            "[Pace]\r\nReadOnly=1\r\nList=0\r\ncmd=-vf\r\nCaption=Real time\r\nValue=realtime\r\n"
                            "[Flush]\r\nReadOnly=1\r\nList=0\r\ncmd=-flush_packets\r\nCaption=Yes\r\nValue=1\r\n");
        const QString clip = dir.filePath(QStringLiteral("long.avi"));
        QVERIFY(TestUtil::makeClip(clip, 30, {QStringLiteral("-c:v"), QStringLiteral("mpeg4")}, QStringLiteral("160x120"),
                                   false));
        const QString output = dir.filePath(QStringLiteral("long.ts"));

        QProcess p;
        p.setStandardInputFile(QProcess::nullDevice());
        p.setChildProcessModifier([] { ::setpgid(0, 0); });  // a job of its own, as a shell starts it
        p.start(app + QStringLiteral("orvelle-cli"), {QStringLiteral("--output"), dir.path(), clip, m_clip1});
        QVERIFY(p.waitForStarted());
        // Wait until the encoder has written part of the output.
        QList<qint64> encoders;
        QDeadlineTimer deadline(30000);
        while (!deadline.hasExpired() && QFileInfo(output).size() < 20000)
            QTest::qWait(100);
        const qint64 written = QFileInfo(output).size();
        QVERIFY(written >= 20000);
        encoders = childrenOf(p.processId());
        QCOMPARE(encoders.size(), 1);
        const pid_t pid = static_cast<pid_t>(p.processId());
        // The encoder is out of the program's process group: a Ctrl-C reaches only the program.
        QVERIFY(::getpgid(static_cast<pid_t>(encoders.first())) != pid);

        ::kill(toGroup ? -pid : pid, signal);
        QVERIFY(p.waitForFinished(15000));
        if (signal == SIGKILL) {
            // No chance to stop it: the encoder is told to end when the program is gone.
            QCOMPARE(p.exitStatus(), QProcess::CrashExit);
            QTRY_VERIFY_WITH_TIMEOUT(!isRunning(encoders.first()), 10000);
            QVERIFY(QFileInfo(output).size() >= written);
            return;
        }
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 130);
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(out.contains(QStringLiteral("[1/2] Stop: ") + output), qPrintable(out));
        QVERIFY2(out.contains(QLatin1String("Summary: 2 task(s), 0 complete, 0 failed, 1 stopped, 1 not run")),
                 qPrintable(out));
        QVERIFY(!out.contains(QLatin1String("[2/2]")));
        QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains(QLatin1String("stopping the encoder")));

        QVERIFY(!isRunning(encoders.first()));
        // The partial output is kept: at least what was there before the stop, and readable.
        QVERIFY(QFileInfo(output).size() >= written);
        const double seconds = TestUtil::probeEntry(output, QStringLiteral("format"), QStringLiteral("duration")).toDouble();
        QVERIFY2(seconds > 0 && seconds < 30, qPrintable(QString::number(seconds)));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
