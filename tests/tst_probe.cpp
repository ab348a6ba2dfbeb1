// The media probe: the cut of the encoder's output, real ffmpeg on generated clips, and
// a stand-in encoder where the exact text, its pacing or its end matter.
#include "app/ui/application.h"
#include "app/ui/mainform.h"
#include "conversion/encoderchannel.h"
#include "conversion/probe.h"
#include "tasks/timevalues.h"
#include "testutil.h"

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QtTest>
#include <memory>

using TestUtil::writeFile;

namespace {
const QString FakeEncoder = QStringLiteral(ORVELLE_TESTS_BIN "fake_probe_encoder");
const QString SizeOf160 = QStringLiteral(" 160x120 [SAR 1:1 DAR 4:3]");
}  // namespace

class TestProbe : public QObject
{
    Q_OBJECT

    QTemporaryDir m_clips;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_clips.isValid());
        const QString dir = m_clips.path() + QLatin1Char('/');
        QVERIFY(TestUtil::makeClip(dir + "h264.mp4", 2, {"-c:v", "libx264", "-pix_fmt", "yuv420p"}));
        QVERIFY(TestUtil::makeClip(dir + "mpeg4.avi", 2, {"-c:v", "mpeg4", "-c:a", "mp3"}));
        QVERIFY(TestUtil::makeClip(dir + "bt709.mp4", 1,
                                   {"-c:v", "libx264", "-pix_fmt", "yuv420p", "-colorspace", "bt709",
                                    "-color_primaries", "bt709", "-color_trc", "bt709"}));
        // Names that must reach the encoder unchanged: the content does not matter.
        for (const char *name : {"with blanks.mp4", "quote\"d.mp4", "-lead.mp4", "ünïcødé $HOME.mp4"})
            QVERIFY(QFile::copy(dir + "h264.mp4", dir + QString::fromUtf8(name)));
    }

    void parse_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("duration");
        QTest::addColumn<QString>("frameSize");
        QTest::newRow("three lines") << QStringLiteral("C:\\v\\a.avi\r\nDuration: 00:01:05.3, start 0\r\nVideo: c1, c2, 640x480, c4")
                                     << QStringLiteral("C:\\v\\a.avi") << QStringLiteral("00:01:05.3")
                                     << QStringLiteral(" 640x480");
        // A whole probe: the banner before the path, stream metadata and the closing complaint after.
        QTest::newRow("commas in parentheses")
            << QStringLiteral("ffmpeg version 5.1, Copyright (c)\n  configuration: --a, --b\n"
                              "Input #0, mov,mp4,m4a,3gp,3g2,mj2, from '/v/hd.mp4':\n"
                              "  Metadata:\n    encoder         : Lavf59.27.100\n"
                              "  Duration: 00:00:10.01, start: 0.000000, bitrate: 5000 kb/s\n"
                              "  Stream #0:0[0x1](und): Video: h264 (High) (avc1 / 0x31637661), "
                              "yuv420p(tv, bt709, progressive), 1920x1080 [SAR 1:1 DAR 16:9], 4000 kb/s, 25 fps\n"
                              "    Metadata:\n      handler_name    : VideoHandler\n"
                              "At least one output file must be specified\n")
            << QStringLiteral("/v/hd.mp4") << QStringLiteral("00:00:10.01")
            << QStringLiteral(" 1920x1080 [SAR 1:1 DAR 16:9]");
        QTest::newRow("words in the path")
            << QStringLiteral("from '/v/Duration: 1, Video, x.avi':\n  Duration: 00:00:03.00, start: 0\n"
                              "  Stream #0:0: Video: mpeg4 (Simple Profile) (FMP4 / 0x34504D46), yuv420p, 320x240, 25 fps")
            << QStringLiteral("/v/Duration: 1, Video, x.avi") << QStringLiteral("00:00:03.00")
            << QStringLiteral(" 320x240");
        QTest::newRow("unreadable file") << QStringLiteral("/v/gone.avi: No such file or directory\n")
                                         << QStringLiteral("/v/gone.avi") << QString() << QString();
        QTest::newRow("no duration") << QStringLiteral("/v/a.avi\n  Duration: N/A\n") << QStringLiteral("/v/a.avi")
                                     << QString() << QString();
    }
    void parse()
    {
        QFETCH(QString, output);
        QFETCH(QString, path);
        QFETCH(QString, duration);
        QFETCH(QString, frameSize);
        const ProbeResults r = ParseProbeOutput(output, path);
        QCOMPARE(r.Duration, duration);
        QCOMPARE(r.FrameSize, frameSize);
        QCOMPARE(r.Start, QStringLiteral("00:00:00.0"));
        QCOMPARE(r.End, duration);
    }

    // Real ffmpeg, started through the link as the window starts it.
    void realClips_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("frameSize");
        QTest::newRow("h264 mp4") << "h264.mp4" << SizeOf160;
        QTest::newRow("mpeg4 avi") << "mpeg4.avi" << SizeOf160;
        QTest::newRow("bt709") << "bt709.mp4" << SizeOf160;
        QTest::newRow("blanks") << "with blanks.mp4" << SizeOf160;
        QTest::newRow("double quote") << "quote\"d.mp4" << SizeOf160;
        QTest::newRow("leading dash") << "-lead.mp4" << SizeOf160;
        QTest::newRow("non-ASCII and $") << "ünïcødé $HOME.mp4" << SizeOf160;
    }
    void realClips()
    {
        QFETCH(QString, name);
        QFETCH(QString, frameSize);
        QTemporaryDir app;
        const QString path = m_clips.filePath(name);
        MediaProber prober(TestUtil::makeAppDir(app, false) + "wmaspi.dll");
        const ProbeResults r = prober.probe(path);
        QVERIFY2(prober.lastStarted(), qPrintable(prober.lastOutput()));
        QVERIFY(!prober.lastTimedOut());
        QCOMPARE(r.FrameSize, frameSize);
        QVERIFY2(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d$").match(r.Duration).hasMatch(),
                 qPrintable(r.Duration));
        const double expected = TestUtil::probeEntry(path, "format", "duration").toDouble();
        QVERIFY(expected > 0);
        QVERIFY2(std::abs(TimeToSeconds(r.Duration) - expected) <= 0.011, qPrintable(r.Duration));
        QCOMPARE(r.Start, QStringLiteral("00:00:00.0"));
        QCOMPARE(r.End, r.Duration);
    }

    // The stand-in encoder: exact text, output in several reads, a probe that never ends.
    void fakeEncoder_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QString>("duration");
        QTest::addColumn<QString>("frameSize");
        QTest::addColumn<int>("timeoutMs");
        QTest::addColumn<bool>("timedOut");
        QTest::addColumn<int>("minReads");
        QTest::newRow("one read") << QByteArray("%PATH%\r\nDuration: 00:01:05.3, start 0\r\nVideo: c1, c2, 640x480, c4")
                                  << "00:01:05.3" << " 640x480" << 10000 << false << 1;
        // The last reads hold neither the path nor "Duration": the whole output still counts.
        QTest::newRow("several reads")
            << QByteArray("Input #0, avi, from '%PATH%':\n\x01  Duration: 00:01:\x01" "05.30, start: 0.000000\n\x01"
                          "  Stream #0:0: Video: mpeg4 (Simple Profile) (FMP4 / 0x34504D46), yuv420p, \x01"
                          "640x480 [SAR 1:1 DAR 4:3], 25 fps\n\x01" "At least one output file must be specified\n")
            << "00:01:05.30" << " 640x480 [SAR 1:1 DAR 4:3]" << 10000 << false << 5;
        QTest::newRow("never ends") << QByteArray("%PATH%\nDuration: 00:00:07.5, start 0\nVideo: a, b, 320x240, c\n\x02")
                                    << "00:00:07.5" << " 320x240" << 500 << true << 1;
        QTest::newRow("ends silently") << QByteArray() << "" << "" << 10000 << false << 0;
    }
    void fakeEncoder()
    {
        QFETCH(QByteArray, script);
        QFETCH(QString, duration);
        QFETCH(QString, frameSize);
        QFETCH(int, timeoutMs);
        QFETCH(bool, timedOut);
        QFETCH(int, minReads);
        QTemporaryDir dir;
        const QString path = writeFile(dir.filePath("clip.avi"), script);
        EncoderChannel channel;
        MediaProber prober(FakeEncoder, timeoutMs, &channel);
        QElapsedTimer clock;
        clock.start();
        const ProbeResults r = prober.probe(path);
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(prober.lastTimedOut(), timedOut);
        QVERIFY2(prober.lastReadCount() >= minReads, qPrintable(QString::number(prober.lastReadCount())));
        QCOMPARE(r.Duration, duration);
        QCOMPARE(r.FrameSize, frameSize);
        QCOMPARE(r.End, duration);
        // The encoder has been ended, whether it finished or not.
        QVERIFY(channel.process());
        QCOMPARE(channel.process()->state(), QProcess::NotRunning);
    }

    // The path is one argument after "-i", whatever it holds; the shown text quotes it.
    void arguments()
    {
        QTemporaryDir dir;
        const QString path = writeFile(dir.filePath(QStringLiteral("-y \"x\" $HOME; ü.avi")), "%ARGS%");
        MediaProber prober(FakeEncoder);
        prober.probe(path);
        QCOMPARE(prober.lastOutput(), "[-i][" + path + "]");
        QCOMPARE(ProbeArguments(path), (QStringList{"-i", path}));
        QCOMPARE(ProbeArguments("pipe:0"), (QStringList{"-i", QDir::current().absoluteFilePath("pipe:0")}));
        QCOMPARE(ProbeCommandLine(QStringLiteral("/v/a \"b\".avi")), QStringLiteral(" -i \"/v/a \"b\".avi\""));
    }

    // An encoder that cannot start leaves empty results, not those of the file before.
    void encoderMissing()
    {
        QTemporaryDir dir;
        const QString appDir = TestUtil::makeAppDir(dir, false);
        QFile::remove(appDir + "wmaspi.dll");
        QVERIFY(QFile::link(FakeEncoder, appDir + "wmaspi.dll"));
        std::unique_ptr<TMainForm> form(CreateWindows(appDir, {}).MainForm);
        const QString first = writeFile(dir.filePath("a.avi"), "%PATH%\nDuration: 00:00:04.0, s\nVideo: a, b, 64x48, c");
        form->ProbeMediaInfo(first);
        QCOMPARE(form->ProbeDuration, QStringLiteral("00:00:04.0"));
        QCOMPARE(form->ProbeFrameSize, QStringLiteral(" 64x48"));
        QCOMPARE(form->Memo1->toPlainText().section('\n', 0, 0), ProbeCommandLine(first));

        QVERIFY(QFile::remove(appDir + "wmaspi.dll"));
        form->AddTaskFile(dir.filePath("b.avi"));
        QCOMPARE(form->Tasks.count(), 1);
        for (const QString &v : {form->ProbeDuration, form->ProbeFrameSize, form->ProbeStart, form->ProbeEnd})
            QVERIFY(v.isEmpty());
        ltvItemData r;
        form->Tasks.ReadTaskRow(0, ColAll, r);
        QCOMPARE(r.SourceFile, dir.filePath("b.avi"));
        QVERIFY(r.Duration.isEmpty() && r.FrameSize.isEmpty() && r.EndTime.isEmpty());
        QCOMPARE(r.Status, QStringLiteral("OK"));

        MediaProber missing(dir.filePath("nothing-here"));
        const ProbeResults none = missing.probe(first);
        QVERIFY(!missing.lastStarted());
        QVERIFY(none.Duration.isEmpty() && none.FrameSize.isEmpty() && none.Start.isEmpty() && none.End.isEmpty());
    }

    // TerminateEncoder ends the encoder started last and does nothing once it has ended.
    void terminateEncoder()
    {
        QTemporaryDir dir;
        const QString hang = writeFile(dir.filePath("hang.avi"), "started\n\x02");
        EncoderChannel channel;
        channel.TerminateEncoder();  // none started yet
        QProcess *p = channel.start(FakeEncoder, ProbeArguments(hang));
        QVERIFY(p);
        QVERIFY(p->waitForReadyRead(5000));
        QCOMPARE(p->state(), QProcess::Running);
        QElapsedTimer clock;
        clock.start();
        channel.TerminateEncoder();
        QCOMPARE(p->state(), QProcess::NotRunning);
        QVERIFY(clock.elapsed() < 5000);
        channel.TerminateEncoder();
        QVERIFY(!channel.start(dir.filePath("no-encoder"), {}));
        QVERIFY(!channel.process());
    }
};

QTEST_MAIN(TestProbe)
#include "tst_probe.moc"
