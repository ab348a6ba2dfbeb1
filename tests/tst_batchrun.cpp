// The batch run without a window: its pieces, and whole runs with real ffmpeg and with
// the fake encoder where the exact output text matters.
#include "conversion/batchrun.h"
#include "runhelpers.h"
#include "testutil.h"

#include <QtTest>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <unistd.h>

using RunHelpers::addTask;
using RunHelpers::statuses;

Q_DECLARE_METATYPE(BatchRun::Outcome)

namespace {
struct Progress
{
    int current, total;
    bool operator==(const Progress &o) const { return current == o.current && total == o.total; }
};
}  // namespace
QT_BEGIN_NAMESPACE
namespace QTest {
template <> char *toString(const Progress &p) { return qstrdup(QByteArray::number(p.current) + '/' + QByteArray::number(p.total)); }
}  // namespace QTest
QT_END_NAMESPACE

class TestBatchRun : public QObject
{
    Q_OBJECT

    QTemporaryDir m_clips;
    QString m_clip3, m_clip2;  // 3 s and 2 s clips
    QString m_duration3, m_duration2;

    static BatchRunConfig config(const QString &encoder, const QString &folder, const QString &options = QString())
    {
        BatchRunConfig c;
        c.EncoderPath = encoder;
        c.OutputFolder = folder;
        c.OutputExt = QStringLiteral(".mp4");
        c.RunOptions = options;
        return c;
    }

    // Runs to the end; returns the runFinished arguments.
    static QList<QVariant> runToEnd(BatchRun &run, const BatchRunConfig &c)
    {
        QSignalSpy finished(&run, &BatchRun::runFinished);
        if (!run.start(c))
            return {};
        if (!finished.wait(120000))
            return {};
        return finished.first();
    }

    static QString fakeTask(TaskList &tasks, const QString &dir, const QString &name, const QString &duration)
    {
        const QString src = TestUtil::writeFile(dir + QLatin1Char('/') + name, "not looked at");
        addTask(tasks, src, duration, QStringLiteral(".mp4"));
        return src;
    }

    static bool decodes(const QString &file)
    {
        int code = -1;
        const QString out = TestUtil::run(QStringLiteral(ORVELLE_FFMPEG),
                                          {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), file,
                                           QStringLiteral("-f"), QStringLiteral("null"), QStringLiteral("-")},
                                          &code);
        return code == 0 && out.trimmed().isEmpty();
    }

private Q_SLOTS:
    void initTestCase()
    {
        qRegisterMetaType<BatchRun::Outcome>();
        m_clip3 = m_clips.filePath(QStringLiteral("three.mp4"));
        m_clip2 = m_clips.filePath(QStringLiteral("two.avi"));
        QVERIFY(TestUtil::makeClip(m_clip3, 3));
        QVERIFY(TestUtil::makeClip(m_clip2, 2, {QStringLiteral("-c:v"), QStringLiteral("mpeg4"),
                                                QStringLiteral("-c:a"), QStringLiteral("mp3")}));
        m_duration3 = RunHelpers::probeDurationText(m_clip3);
        m_duration2 = RunHelpers::probeDurationText(m_clip2);
        QVERIFY(m_duration3.startsWith(QLatin1String("00:00:03")) || m_duration3.startsWith(QLatin1String("00:00:02.9")));
    }

    // ---- pieces

    void progressParse_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("before");
        QTest::addColumn<double>("after");
        QTest::newRow("seconds") << QByteArray("frame=5 time=50.00 bitrate=1") << 0.0 << 50.0;
        QTest::newRow("lower time ignored") << QByteArray("time=40.00 ") << 50.0 << 50.0;
        QTest::newRow("equal time") << QByteArray("time=50.00 ") << 50.0 << 50.0;
        QTest::newRow("ffmpeg 5 time text") << QByteArray("size=1kB time=00:00:50.00 bitrate=2") << 0.0 << 50.0;
        QTest::newRow("hours and minutes") << QByteArray("time=01:01:02.50 x") << 10.0 << 3662.5;
        QTest::newRow("leading dot") << QByteArray("time=.5 ") << 0.0 << 0.5;
        QTest::newRow("any character after time") << QByteArray("timeX12.0 ") << 0.0 << 12.0;
        QTest::newRow("no time: no progress") << QByteArray("abcd12.5 efg") << 0.0 << 0.0;
        QTest::newRow("stream list chunk") << QByteArray(" (h264 (native) -> h264 (libx264))\n") << 0.0 << 0.0;
        QTest::newRow("no time, no number") << QByteArray("no progress here") << 3.0 << 3.0;
        QTest::newRow("N/A") << QByteArray("time=N/A bitrate=N/A") << 3.0 << 3.0;
        QTest::newRow("no space after the value") << QByteArray("time=12.5") << 0.0 << 0.0;
        QTest::newRow("comma") << QByteArray("time=1,5 ") << 0.0 << 0.0;
        QTest::newRow("bad time text") << QByteArray("time=00:aa:01 ") << 0.0 << 0.0;
        QTest::newRow("negative time") << QByteArray("time=-577014:32:22.77 ") << 0.0 << 0.0;
        QTest::newRow("first time counts")
            << QByteArray("frame=1 time=00:00:01.00 x\rframe=2 time=00:00:02.00 x\r") << 0.0 << 1.0;
    }
    void progressParse()
    {
        QFETCH(QByteArray, text);
        QFETCH(double, before);
        QFETCH(double, after);
        QCOMPARE(ReadProgressSeconds(text, before), after);
    }

    void percent_data()
    {
        QTest::addColumn<double>("part");
        QTest::addColumn<double>("whole");
        QTest::addColumn<int>("expected");
        QTest::newRow("25%") << 50.0 << 200.0 << 25;
        QTest::newRow("half to even, down") << 1.0 << 8.0 << 12;
        QTest::newRow("half to even, up") << 3.0 << 8.0 << 38;
        QTest::newRow("held at 100") << 250.0 << 200.0 << 100;
        QTest::newRow("held at 0") << 5.0 << -1.0 << 0;
        QTest::newRow("no whole: previous kept") << 5.0 << 0.0 << 7;
    }
    void percent()
    {
        QFETCH(double, part);
        QFETCH(double, whole);
        QFETCH(int, expected);
        QCOMPARE(ProgressPercent(part, whole, 7), expected);
    }

    void commandLine_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("clip");
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("args");
        const QString a = QStringLiteral("/in/a.avi"), o = QStringLiteral("/out/a.mp4");
        QTest::newRow("no cut") << "00:00:00.0" << "00:00:30.00" << " -vcodec mpeg4" << a << o
                                << R"( -y -i "/in/a.avi" -vcodec mpeg4 "/out/a.mp4")"
                                << QStringList{"-y", "-i", a, "-vcodec", "mpeg4", o};
        QTest::newRow("empty options") << "00:00:00.0" << "00:00:30.00" << "" << a << o
                                       << R"( -y -i "/in/a.avi" "/out/a.mp4")" << QStringList{"-y", "-i", a, o};
        QTest::newRow("start and 20.5 s") << "00:00:10" << "00:00:20.5" << "" << a << o
                                          << R"( -y -i "/in/a.avi" -ss 00:00:10 -t 20 "/out/a.mp4")"
                                          << QStringList{"-y", "-i", a, "-ss", "00:00:10", "-t", "20", o};
        QTest::newRow("21.5 s") << "00:00:00.0" << "00:00:21.5" << "" << a << o
                                << R"( -y -i "/in/a.avi" -t 22 "/out/a.mp4")"
                                << QStringList{"-y", "-i", a, "-t", "22", o};
        QTest::newRow("20.4 s") << "00:00:00.0" << "00:00:20.4" << " -an" << a << o
                                << R"( -y -i "/in/a.avi" -an -t 20 "/out/a.mp4")"
                                << QStringList{"-y", "-i", a, "-an", "-t", "20", o};
        QTest::newRow("quoted stretch, trailing blank")
            << "00:00:00.0" << "00:00:30.00" << R"( -metadata title="my  clip" -optB  -x "")" << a << o
            << R"( -y -i "/in/a.avi" -metadata title="my  clip" -optB  -x "" "/out/a.mp4")"
            << QStringList{"-y", "-i", a, "-metadata", "title=my  clip", "-optB", "-x", "", o};
        const QString odd = QStringLiteral(R"(/in/my "best" -clip Ü.avi)");
        QTest::newRow("a name never splits") << "00:00:00.0" << "00:00:30.00" << " -an" << odd << o
                                             << R"( -y -i "/in/my "best" -clip Ü.avi" -an "/out/a.mp4")"
                                             << QStringList{"-y", "-i", odd, "-an", o};
        const QString rel = QDir::current().absoluteFilePath(QStringLiteral("-x.mp4"));
        QTest::newRow("relative output made absolute")
            << "00:00:00.0" << "00:00:30.00" << "" << a << "-x.mp4"
            << QStringLiteral(R"( -y -i "/in/a.avi" "%1")").arg(rel) << QStringList{"-y", "-i", a, rel};
    }
    void commandLine()
    {
        QFETCH(QString, start);
        QFETCH(QString, clip);
        QFETCH(QString, options);
        QFETCH(QString, source);
        QFETCH(QString, output);
        QFETCH(QString, text);
        QFETCH(QStringList, args);
        TaskList tasks;
        addTask(tasks, source, QStringLiteral("00:00:30.00"), QStringLiteral(".mp4"));
        RunHelpers::setCut(tasks, 0, start, clip);
        ltvItemData r;
        tasks.ReadTaskRow(0, ColAll, r);
        const QString taskOptions = options + CutOptions(r);
        QCOMPARE(EncoderCommandLineText(source, taskOptions, output), text);
        QCOMPARE(EncoderArguments(source, taskOptions, output), args);
    }

    void outputPath_data()
    {
        QTest::addColumn<QStringList>("existing");  // files made in out/
        QTest::addColumn<QString>("source");        // below the temporary root
        QTest::addColumn<QString>("other");         // another task's source, or empty
        QTest::addColumn<QString>("newExt");
        QTest::addColumn<bool>("rename");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("expected");  // in out/
        const QStringList none;
        QTest::newRow("free") << none << "in/a.avi" << "" << ".avi" << true << 0 << "a.mp4";
        QTest::newRow("exists, overwrite") << QStringList{"a.mp4"} << "in/a.avi" << "" << ".avi" << false << 0
                                           << "a.mp4";
        QTest::newRow("exists, rename") << QStringList{"a.mp4"} << "in/a.avi" << "" << ".avi" << true << 0 << "a_1.avi";
        QTest::newRow("rename, no NewExt") << QStringList{"a.mp4"} << "in/a.avi" << "" << "" << true << 0 << "a_1.mp4";
        QTest::newRow("own source, overwrite mode") << QStringList{"a.mp4"} << "out/a.mp4" << "" << ".avi" << false
                                                    << 2 << "a_3.avi";
        QTest::newRow("own source through a link") << QStringList{"a.mp4"} << "link/a.mp4" << "" << ".avi" << false
                                                   << 2 << "a_3.avi";
        QTest::newRow("own source, doubled separator") << QStringList{"a.mp4"} << "out//a.mp4" << "" << ".avi"
                                                       << false << 0 << "a_1.avi";
        QTest::newRow("own source, hard link") << QStringList{"a.mp4"} << "hard/a.mp4" << "" << ".avi" << false << 0
                                               << "a_1.avi";
        QTest::newRow("another task's source") << QStringList{"a.mp4"} << "in/a.avi" << "out/a.mp4" << ".avi"
                                               << false << 1 << "a_2.avi";
        QTest::newRow("counting on") << QStringList{"a.mp4", "a_1.avi"} << "in/a.avi" << "" << ".avi" << true << 0
                                     << "a_1_2.avi";
        QTest::newRow("counting on twice") << QStringList{"a.mp4", "a_3.avi", "a_3_2.avi"} << "out/a.mp4" << ""
                                           << ".avi" << false << 2 << "a_3_3.avi";
    }
    void outputPath()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, source);
        QFETCH(QString, other);
        QFETCH(QString, newExt);
        QFETCH(bool, rename);
        QFETCH(int, index);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString root = dir.path() + QLatin1Char('/');
        QDir().mkpath(root + QStringLiteral("out"));
        QDir().mkpath(root + QStringLiteral("hard"));
        for (const QString &name : existing)
            TestUtil::writeFile(root + QStringLiteral("out/") + name, "x");
        QVERIFY(QFile::link(root + QStringLiteral("out"), root + QStringLiteral("link")));
        if (existing.contains(QStringLiteral("a.mp4")))
            QCOMPARE(::link(QFile::encodeName(root + QStringLiteral("out/a.mp4")).constData(),
                            QFile::encodeName(root + QStringLiteral("hard/a.mp4")).constData()),
                     0);
        ltvItemData r;
        r.SourceFile = root + source;
        r.NewName = QStringLiteral("a");
        r.NewExt = newExt;
        const QStringList others = other.isEmpty() ? QStringList() : QStringList{root + other};
        const QString got = ChooseOutputPath(root + QStringLiteral("out"), r, index, QStringLiteral(".mp4"),
                                             [rename] { return rename; }, others);
        QCOMPARE(got, root + QStringLiteral("out/") + expected);
    }

    void runClock_data()
    {
        QTest::addColumn<int>("elapsed");  // before the tick
        QTest::addColumn<int>("remaining");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("elapsedText");
        QTest::addColumn<QString>("remainingText");
        QTest::newRow("30 s at 25%") << 29 << 0 << 25 << "00:00:30" << "00:01:30";
        QTest::newRow("100%") << 9 << 50 << 100 << "00:00:10" << "00:00:00";
        QTest::newRow("0% keeps the estimate") << 4 << 42 << 0 << "00:00:05" << "00:00:42";
        QTest::newRow("start") << 0 << 0 << 0 << "00:00:01" << "00:00:00";
        QTest::newRow("half to even") << 2 << 0 << 80 << "00:00:03" << "00:00:01";  // 0.75 s
    }
    void runClock()
    {
        QFETCH(int, elapsed);
        QFETCH(int, remaining);
        QFETCH(int, position);
        QFETCH(QString, elapsedText);
        QFETCH(QString, remainingText);
        RunClock clock;
        clock.ElapsedSeconds = elapsed;
        clock.RemainingSeconds = remaining;
        clock.tick(position);
        QCOMPARE(clock.elapsedText(), elapsedText);
        QCOMPARE(clock.remainingText(), remainingText);
    }

    // ---- whole runs

    // Three real clips with blanks, quotes and non-ASCII letters in their names, one of
    // them cut, into a folder with a blank in its name.
    void convertsRealFiles()
    {
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in put/"));
        const QString out = dir.filePath(QStringLiteral("out put/"));
        QDir().mkpath(in);
        QDir().mkpath(out);
        const QStringList names{QStringLiteral("clip one.mp4"), QStringLiteral(R"(it's "quoted".avi)"),
                                QStringLiteral("Ünïcødé ñame.mp4")};
        QVERIFY(QFile::copy(m_clip3, in + names[0]));
        QVERIFY(QFile::copy(m_clip2, in + names[1]));
        QVERIFY(QFile::copy(m_clip3, in + names[2]));
        TaskList tasks;
        addTask(tasks, in + names[0], m_duration3, QStringLiteral(".mp4"));
        addTask(tasks, in + names[1], m_duration2, QStringLiteral(".mp4"));
        addTask(tasks, in + names[2], m_duration3, QStringLiteral(".mp4"));
        RunHelpers::setCut(tasks, 2, QStringLiteral("00:00:01"), QStringLiteral("00:00:01"));

        BatchRun run(tasks);
        QList<Progress> progress;
        QStringList commandLines, started;
        connect(&run, &BatchRun::progressChanged, this, [&](int c, int t) { progress.append({c, t}); });
        connect(&run, &BatchRun::commandLine, this, [&](int, const QString &text) { commandLines.append(text); });
        connect(&run, &BatchRun::taskStarted, this, [&](int, const QString &name) {
            started.append(name);
            QVERIFY(progress.isEmpty() || progress.last().current == 0);  // "0%" between tasks
        });
        const auto end = runToEnd(run, config(TestUtil::builtAppDir() + QStringLiteral("wmaspi.dll"), out,
                                              QStringLiteral(" -c:v mpeg4 -q:v 5 -c:a aac")));
        QCOMPARE(end.value(0).value<BatchRun::Outcome>(), BatchRun::Completed);
        QCOMPARE(end.value(1).toInt(), 0);
        QCOMPARE(end.value(2).toInt(), 3);
        QCOMPARE(statuses(tasks), QStringList(3, QStringLiteral("Complete")));
        QCOMPARE(started, names);
        QVERIFY(!run.isRunning());

        for (const QString &name : names) {
            const QString file = out + StripExtension(name) + QStringLiteral(".mp4");
            QVERIFY2(QFileInfo::exists(file), qPrintable(file));
            QCOMPARE(TestUtil::probeEntry(file, QStringLiteral("v:0"), QStringLiteral("codec_name")),
                     QStringLiteral("mpeg4"));
            QVERIFY2(decodes(file), qPrintable(file));
        }
        const double cut = TestUtil::probeEntry(out + QStringLiteral("Ünïcødé ñame.mp4"), QStringLiteral("format"),
                                                QStringLiteral("duration"))
                               .toDouble();
        QVERIFY2(cut > 0.8 && cut < 1.2, qPrintable(QString::number(cut)));
        QVERIFY(!commandLines[0].contains(QLatin1String(" -ss ")));
        QVERIFY(!commandLines[1].contains(QLatin1String(" -ss ")));
        QVERIFY(commandLines[2].endsWith(QStringLiteral(" -c:a aac -ss 00:00:01 -t 1 \"%1Ünïcødé ñame.mp4\"").arg(out)));
        QCOMPARE(progress.last(), (Progress{100, 100}));
    }

    // A corrupt file and a text file with a video extension fail; the run goes on and
    // counts them.
    void failuresAreErrors()
    {
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in/"));
        TestUtil::writeFile(in + QStringLiteral("corrupt.mp4"), TestUtil::readFile(m_clip3).left(3000));
        TestUtil::writeFile(in + QStringLiteral("notes.avi"), "These are my notes, not a video.\n");
        QVERIFY(QFile::copy(m_clip2, in + QStringLiteral("good.avi")));
        QDir().mkpath(dir.filePath(QStringLiteral("out")));
        TaskList tasks;
        addTask(tasks, in + QStringLiteral("corrupt.mp4"), m_duration3, QStringLiteral(".mp4"));
        addTask(tasks, in + QStringLiteral("good.avi"), m_duration2, QStringLiteral(".mp4"));
        addTask(tasks, in + QStringLiteral("notes.avi"), m_duration2, QStringLiteral(".mp4"));
        BatchRun run(tasks);
        const auto end = runToEnd(run, config(TestUtil::builtAppDir() + QStringLiteral("wmaspi.dll"),
                                              dir.filePath(QStringLiteral("out")), QStringLiteral(" -c:v mpeg4")));
        QCOMPARE(end.value(0).value<BatchRun::Outcome>(), BatchRun::Completed);
        QCOMPARE(end.value(1).toInt(), 2);
        QCOMPARE(end.value(2).toInt(), 3);
        QCOMPARE(statuses(tasks), (QStringList{"Error", "Complete", "Error"}));
        QVERIFY(decodes(dir.filePath(QStringLiteral("out/good.mp4"))));
    }

    void exitStatus_data()
    {
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("status");
        QTest::newRow("exit 0") << " -exit 0" << "Complete";
        QTest::newRow("exit 1") << " -exit 1" << "Error";
        QTest::newRow("crash") << " -crash" << "Error";
    }
    void exitStatus()
    {
        QFETCH(QString, options);
        QFETCH(QString, status);
        QTemporaryDir dir;
        TaskList tasks;
        fakeTask(tasks, dir.path(), QStringLiteral("a.avi"), QStringLiteral("00:00:10"));
        fakeTask(tasks, dir.path(), QStringLiteral("b.avi"), QStringLiteral("00:00:10"));
        BatchRun run(tasks);
        const auto end = runToEnd(run, config(RunHelpers::fakeEncoderPath(), dir.path(), options));
        QCOMPARE(end.value(0).value<BatchRun::Outcome>(), BatchRun::Completed);
        QCOMPARE(statuses(tasks), QStringList(2, status));
        QCOMPARE(end.value(1).toInt(), status == QLatin1String("Error") ? 2 : 0);
    }

    // The first two reads of each task pass unexamined; totals count finished tasks by
    // their length; the current bar returns to 0 between tasks.
    void progressFromReads()
    {
        QTemporaryDir dir;
        TaskList tasks;
        fakeTask(tasks, dir.path(), QStringLiteral("a.avi"), QStringLiteral("00:03:20"));
        fakeTask(tasks, dir.path(), QStringLiteral("b.avi"), QStringLiteral("00:03:20"));
        BatchRun run(tasks);
        QList<Progress> progress;
        connect(&run, &BatchRun::progressChanged, this, [&](int c, int t) { progress.append({c, t}); });
        const auto end = runToEnd(run, config(RunHelpers::fakeEncoderPath(), dir.path(),
                                              QStringLiteral(" -say \"time=10.00 \" -say \"time=20.00 \""
                                                             " -say \"time=50.00 \" -say \"time=40.00 \"")));
        QCOMPARE(end.value(0).value<BatchRun::Outcome>(), BatchRun::Completed);
        QCOMPARE(progress, (QList<Progress>{{25, 12}, {25, 12}, {0, 50}, {25, 62}, {25, 62}, {100, 100}}));
    }

    void missingEncoder()
    {
        QTemporaryDir dir;
        TaskList tasks;
        fakeTask(tasks, dir.path(), QStringLiteral("a.avi"), QStringLiteral("00:00:10"));
        fakeTask(tasks, dir.path(), QStringLiteral("b.avi"), QStringLiteral("00:00:10"));
        BatchRun run(tasks);
        QSignalSpy messages(&run, &BatchRun::errorMessage);
        const auto end = runToEnd(run, config(dir.filePath(QStringLiteral("wmaspi.dll")), dir.path()));
        QCOMPARE(end.value(0).value<BatchRun::Outcome>(), BatchRun::StartFailed);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.first().first().toString(), QStringLiteral("Error on CreateProcess()"));
        QCOMPARE(statuses(tasks), (QStringList{"Error", "OK"}));
        QVERIFY(!run.isRunning());
        // The object is ready for the next run.
        const auto again = runToEnd(run, config(RunHelpers::fakeEncoderPath(), dir.path()));
        QCOMPARE(again.value(0).value<BatchRun::Outcome>(), BatchRun::Completed);
        QCOMPARE(statuses(tasks), (QStringList{"Complete", "Complete"}));
    }

    // Stop in the middle of a task: SIGTERM, or a kill when the encoder ignores it; or
    // stopAndWait, which returns only when the encoder is gone.
    void stopMidTask_data()
    {
        QTest::addColumn<bool>("ignoreTerm");
        QTest::addColumn<bool>("wait");
        QTest::newRow("terminate") << false << false;
        QTest::newRow("kill after the delay") << true << false;
        QTest::newRow("wait, terminate") << false << true;
        QTest::newRow("wait, kill") << true << true;
    }
    void stopMidTask()
    {
        QFETCH(bool, ignoreTerm);
        QFETCH(bool, wait);
        QTemporaryDir dir;
        TaskList tasks;
        fakeTask(tasks, dir.path(), QStringLiteral("a.avi"), QStringLiteral("00:00:10"));
        fakeTask(tasks, dir.path(), QStringLiteral("b.avi"), QStringLiteral("00:00:10"));
        BatchRun run(tasks);
        QSignalSpy progress(&run, &BatchRun::progressChanged);
        QSignalSpy finished(&run, &BatchRun::runFinished);
        QString options = QStringLiteral(" -say a -say b -say \"time=5.00 \" -sleep 60000");
        if (ignoreTerm)
            options.prepend(QStringLiteral(" -ignoreterm"));
        BatchRunConfig c = config(RunHelpers::fakeEncoderPath(), dir.path(), options);
        c.KillDelayMs = 500;
        QVERIFY(run.start(c));
        QVERIFY(progress.wait(20000));
        QCOMPARE(progress.first().first().toInt(), 50);
        if (wait) {
            run.stopAndWait();
            QCOMPARE(finished.size(), 1);
        } else {
            run.stop();
            QCOMPARE(run.state(), BatchRun::StopRequested);
            QVERIFY(finished.wait(20000));  // far sooner than the encoder's minute
        }
        QCOMPARE(finished.first().first().value<BatchRun::Outcome>(), BatchRun::Stopped);
        QCOMPARE(statuses(tasks), (QStringList{"Stop", "OK"}));
        QVERIFY(!run.isRunning());
    }

    // A stop between two tasks starts no more encoders: the next task is the stopped one.
    void stopBetweenTasks()
    {
        QTemporaryDir dir;
        TaskList tasks;
        for (const char *name : {"a.avi", "b.avi", "c.avi"})
            fakeTask(tasks, dir.path(), QString::fromLatin1(name), QStringLiteral("00:00:10"));
        BatchRun run(tasks);
        QSignalSpy commandLines(&run, &BatchRun::commandLine);
        connect(&run, &BatchRun::taskFinished, &run, [&](int row) {
            if (row == 0)
                run.stop();
        });
        const auto end = runToEnd(run, config(RunHelpers::fakeEncoderPath(), dir.path()));
        QCOMPARE(end.value(0).value<BatchRun::Outcome>(), BatchRun::Stopped);
        QCOMPARE(statuses(tasks), (QStringList{"Complete", "Stop", "OK"}));
        QCOMPARE(commandLines.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestBatchRun)
#include "tst_batchrun.moc"
