// The run as the user drives it from the main window: Start and Stop, the progress
// panel and its clock, the locked controls, the messages and the completion actions.
#include "app/ui/application.h"
#include "app/ui/mainform.h"
#include "profiles/ui/valuelisteditor.h"
#include "runhelpers.h"
#include "settings/ui/settingform.h"
#include "shell/product.h"
#include "testutil.h"

#include <QtTest>
#include <QCheckBox>
#include <QComboBox>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <csignal>
#include <memory>

using RunHelpers::addTask;
using RunHelpers::statuses;

// Receives the "open" requests the program makes for local files.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl &url) { urls.append(url); }
};

class TestRunWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_clips;
    QString m_clip3, m_clip2, m_duration3, m_duration2;
    QProcess m_bus, m_logind;
    QString m_logindLog;
    UrlRecorder m_opened;
    QStringList m_messages;  // "caption|text"

    struct Setup
    {
        QTemporaryDir dir;
        QString appDir, in, out;
        std::unique_ptr<TMainForm> form;
    };

    std::unique_ptr<Setup> setup()
    {
        auto s = std::make_unique<Setup>();
        s->appDir = TestUtil::makeAppDir(s->dir, false);
        s->in = s->appDir + QStringLiteral("in/");
        s->out = s->appDir + QStringLiteral("out dir/");
        QDir().mkpath(s->in);
        QDir().mkpath(s->out);
        s->form.reset(CreateWindows(s->appDir, {}).MainForm);
        s->form->OutputExt = QStringLiteral(".mp4");
        s->form->edtOutputdir->setText(s->out);
        settings(*s->form, false, false, false);
        return s;
    }

    static void settings(TMainForm &form, bool turnOff, bool exit, bool openDir)
    {
        form.SettingForm->chkTurnoff->setChecked(turnOff);
        form.SettingForm->chkExit->setChecked(exit);
        form.SettingForm->chkOpenDir->setChecked(openDir);
    }

    void addClips(Setup &s, const QStringList &names)
    {
        for (const QString &name : names) {
            const bool two = name.endsWith(QLatin1String(".avi"));
            QVERIFY(QFile::copy(two ? m_clip2 : m_clip3, s.in + name));
            addTask(s.form->Tasks, s.in + name, two ? m_duration2 : m_duration3, QStringLiteral(".mp4"));
        }
        s.form->EnableListCommandsIfAny();
    }

    // The encoder beside the program becomes ffmpeg reading its input at its own pace
    // (a 3 s clip takes 3 s); it leaves its process id in the file "pid".
    static void slowEncoder(Setup &s)
    {
        QFile::remove(s.appDir + QStringLiteral("wmaspi.dll"));
        RunHelpers::writeScript(s.appDir + QStringLiteral("wmaspi.dll"),
                                "#!/bin/sh\necho $$ > \"$(dirname \"$0\")/pid\"\nexec " ORVELLE_FFMPEG " -re \"$@\"\n");
    }

    static QList<QWidget *> lockedControls(TMainForm &f)
    {
        return {f.tbtnAddFile, f.tbtnAddDir, f.tbtnUp,      f.tbtnDown, f.tbtnRemove,    f.tbtnClear,
                f.tbtnStart,   f.tbtnSetting, f.ltvTask, f.panSplitter, f.gpbProfile};
    }

    static void verifyIdle(TMainForm &f)
    {
        for (QWidget *w : lockedControls(f))
            QVERIFY2(w->isEnabled(), qPrintable(w->metaObject()->className()));
        QVERIFY(!f.tbtnStop->isEnabled());
        QCOMPARE(f.RunState, 0);
        QVERIFY(!f.timerTime->isActive());
        QVERIFY(f.panBottomLeft->isHidden());
        QVERIFY(!f.panBottomCenter->isHidden());
    }

    // Presses Start and waits for the run's end.
    static QList<QVariant> startAndWait(TMainForm &f)
    {
        f.tbtnStart->click();
        if (!f.Run || !f.Run->isRunning())
            return {};
        QSignalSpy finished(f.Run, &BatchRun::runFinished);
        if (!finished.wait(120000))
            return {};
        return finished.first();
    }

    int powerOffCalls() const
    {
        return QString::fromUtf8(TestUtil::readFile(m_logindLog)).count(QStringLiteral("PowerOff False"));
    }

private Q_SLOTS:
    void initTestCase()
    {
        qRegisterMetaType<BatchRun::Outcome>();
        QApplication::setQuitOnLastWindowClosed(false);
        m_clip3 = m_clips.filePath(QStringLiteral("three.mp4"));
        m_clip2 = m_clips.filePath(QStringLiteral("two.avi"));
        QVERIFY(TestUtil::makeClip(m_clip3, 3));
        QVERIFY(TestUtil::makeClip(m_clip2, 2, {QStringLiteral("-c:v"), QStringLiteral("mpeg4")}));
        m_duration3 = RunHelpers::probeDurationText(m_clip3);
        m_duration2 = RunHelpers::probeDurationText(m_clip2);
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_opened, "open");
        TMainForm::MessageHook = [this](QMessageBox::Icon, const QString &caption, const QString &text) {
            m_messages.append(caption + QLatin1Char('|') + text);
        };

        // A private bus standing for the system bus, with a mock of systemd-logind on it.
        m_bus.start(QStringLiteral("dbus-daemon"),
                    {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        QVERIFY(m_bus.waitForReadyRead(10000));
        const QByteArray address = m_bus.readLine().trimmed();
        QVERIFY(!address.isEmpty());
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", address);
        m_logindLog = m_clips.filePath(QStringLiteral("logind.log"));
        m_logind.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_logind.start(QStringLiteral("/usr/bin/python3"),
                       {QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("--template"),
                        QStringLiteral("logind"), QStringLiteral("-l"), m_logindLog});
        QDBusConnection probe = QDBusConnection::connectToBus(QString::fromUtf8(address), QStringLiteral("probe"));
        QTRY_VERIFY_WITH_TIMEOUT(probe.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.login1")),
                                 20000);
    }

    void cleanupTestCase()
    {
        TMainForm::MessageHook = nullptr;
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        for (QProcess *p : {&m_logind, &m_bus}) {
            p->terminate();
            if (!p->waitForFinished(5000)) {
                p->kill();
                p->waitForFinished();
            }
        }
    }

    void init()
    {
        m_messages.clear();
        m_opened.urls.clear();
    }

    // A whole run: the window locked during it, "0%" between tasks, both bars at 100,
    // the success message, then the output folder opened.
    void runThroughWindow()
    {
        auto s = setup();
        TMainForm &f = *s->form;
        addClips(*s, {QStringLiteral("first clip.mp4"), QStringLiteral("second.avi"), QStringLiteral("third.mp4")});
        settings(f, false, false, true);
        f.tbtnStart->click();
        QVERIFY(f.Run && f.Run->isRunning());
        for (QWidget *w : lockedControls(f))
            QVERIFY2(!w->isEnabled(), qPrintable(w->metaObject()->className()));
        QVERIFY(f.tbtnStop->isEnabled());
        QCOMPARE(f.RunState, 1);
        QVERIFY(f.timerTime->isActive());
        QVERIFY(!f.panBottomLeft->isHidden());
        QVERIFY(f.panBottomCenter->isHidden());
        QCOMPARE(f.labCurProgress->text(), QStringLiteral("0%"));
        QStringList atStart;  // the current bar when each task begins
        connect(f.Run, &BatchRun::taskStarted, this, [&](int, const QString &name) {
            QCOMPARE(f.labConvertingFile->text(), name);
            atStart.append(f.labCurProgress->text() + QString::number(f.pgbCurrent->value()));
        });
        QSignalSpy finished(f.Run, &BatchRun::runFinished);
        QVERIFY(finished.wait(120000));
        QCOMPARE(statuses(f.Tasks), QStringList(3, QStringLiteral("Complete")));
        QCOMPARE(atStart, QStringList(3, QStringLiteral("0%0")));
        QCOMPARE(f.labConvertingFile->text(), QStringLiteral("third.mp4"));
        QCOMPARE(f.pgbCurrent->value(), 100);
        QCOMPARE(f.pgbTotal->value(), 100);
        QCOMPARE(f.labTotalProgress->text(), QStringLiteral("100%"));
        QCOMPARE(m_messages, QStringList{QStringLiteral("Complete|The coversion is completed successfully.")});
        QCOMPARE(m_opened.urls, QList<QUrl>{QUrl::fromLocalFile(s->out)});
        verifyIdle(f);
        for (const QString &name : {"first clip.mp4", "second.mp4", "third.mp4"})
            QVERIFY(!TestUtil::probeEntry(s->out + name, QStringLiteral("v:0"), QStringLiteral("codec_name")).isEmpty());
    }

    void outputFolderMissing_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("missing") << "missing/";
        QTest::newRow("empty") << "";
        QTest::newRow("a file") << "in/first.mp4";
    }
    void outputFolderMissing()
    {
        QFETCH(QString, folder);
        auto s = setup();
        TMainForm &f = *s->form;
        addClips(*s, {QStringLiteral("first.mp4")});
        f.edtOutputdir->setText(folder.isEmpty() ? folder : s->appDir + folder);
        f.tbtnStart->click();
        QCOMPARE(m_messages, QStringList{QStringLiteral(
                                 "Output path does not exist|The output path does not exist. Please specify another one.")});
        QVERIFY(!f.Run || !f.Run->isRunning());
        verifyIdle(f);
        QCOMPARE(statuses(f.Tasks), QStringList{QStringLiteral("OK")});
    }

    // Stop in the middle of the first task, with both bars and the clock moving; then the
    // window is usable again and a second run converts everything.
    void stopInTheMiddle()
    {
        auto s = setup();
        TMainForm &f = *s->form;
        slowEncoder(*s);
        addClips(*s, {QStringLiteral("a.mp4"), QStringLiteral("b.mp4"), QStringLiteral("c.mp4")});
        settings(f, false, false, true);
        f.tbtnStart->click();
        QVERIFY(f.Run && f.Run->isRunning());
        QSignalSpy finished(f.Run, &BatchRun::runFinished);
        QTRY_VERIFY_WITH_TIMEOUT(f.pgbTotal->value() > 0 && f.labElapsed->text() >= QLatin1String("00:00:01"), 20000);
        QVERIFY(f.pgbCurrent->value() > f.pgbTotal->value());
        QCOMPARE(f.labCurProgress->text(), QString::number(f.pgbCurrent->value()) + QLatin1Char('%'));
        QVERIFY(f.labRemaining->text().startsWith(QLatin1String("00:00:")));
        QCOMPARE(statuses(f.Tasks), (QStringList{"Converting", "OK", "OK"}));
        f.tbtnStop->click();
        QVERIFY(finished.wait(20000));
        QCOMPARE(statuses(f.Tasks), (QStringList{"Stop", "OK", "OK"}));
        QCOMPARE(m_messages, QStringList{QStringLiteral("Cancel|The Coversion is canceled.")});
        QVERIFY(m_opened.urls.isEmpty());
        verifyIdle(f);

        QFile::remove(s->appDir + QStringLiteral("wmaspi.dll"));
        QVERIFY(QFile::link(QStringLiteral(ORVELLE_FFMPEG), s->appDir + QStringLiteral("wmaspi.dll")));
        m_messages.clear();
        const auto end = startAndWait(f);
        QCOMPARE(end.value(0).value<BatchRun::Outcome>(), BatchRun::Completed);
        QCOMPARE(statuses(f.Tasks), QStringList(3, QStringLiteral("Complete")));
        QCOMPARE(m_messages, QStringList{QStringLiteral("Complete|The coversion is completed successfully.")});
        verifyIdle(f);
    }

    // Closing the window during a run ends the encoder before the window goes.
    void closeDuringRun()
    {
        auto s = setup();
        TMainForm &f = *s->form;
        slowEncoder(*s);
        addClips(*s, {QStringLiteral("a.mp4"), QStringLiteral("b.mp4")});
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        settings(f, false, false, true);
        f.tbtnStart->click();
        QTRY_VERIFY_WITH_TIMEOUT(f.pgbCurrent->value() > 0, 20000);
        const pid_t pid = TestUtil::readFile(s->appDir + QStringLiteral("pid")).trimmed().toInt();
        QVERIFY(pid > 0);
        QVERIFY(f.close());
        QVERIFY(!f.isVisible());
        QVERIFY(!f.Run->isRunning());
        QCOMPARE(::kill(pid, 0), -1);  // gone, and reaped
        QCOMPARE(statuses(f.Tasks), (QStringList{"Stop", "OK"}));
        QVERIFY(m_messages.isEmpty());
        QVERIFY(m_opened.urls.isEmpty());
    }

    // A corrupt file and a text file named like a video fail; the run goes on, and the end
    // message counts them; the folder still opens.
    void failuresCounted()
    {
        auto s = setup();
        TMainForm &f = *s->form;
        TestUtil::writeFile(s->in + QStringLiteral("corrupt.mp4"), TestUtil::readFile(m_clip3).left(3000));
        TestUtil::writeFile(s->in + QStringLiteral("notes.avi"), "These are my notes, not a video.\n");
        addTask(f.Tasks, s->in + QStringLiteral("corrupt.mp4"), m_duration3, QStringLiteral(".mp4"));
        addClips(*s, {QStringLiteral("good.mp4")});
        addTask(f.Tasks, s->in + QStringLiteral("notes.avi"), m_duration2, QStringLiteral(".mp4"));
        settings(f, false, false, true);
        const auto end = startAndWait(f);
        QCOMPARE(end.value(0).value<BatchRun::Outcome>(), BatchRun::Completed);
        QCOMPARE(statuses(f.Tasks), (QStringList{"Error", "Complete", "Error"}));
        QCOMPARE(m_messages,
                 QStringList{QStringLiteral("Complete|The conversion is completed, but 2 of 3 files failed.")});
        QCOMPARE(m_opened.urls, QList<QUrl>{QUrl::fromLocalFile(s->out)});
        verifyIdle(f);
    }

    // The encoder cannot be started: its message, the task "Error", the window restored.
    void startFailure()
    {
        auto s = setup();
        TMainForm &f = *s->form;
        addClips(*s, {QStringLiteral("a.mp4"), QStringLiteral("b.mp4")});
        QVERIFY(QFile::remove(s->appDir + QStringLiteral("wmaspi.dll")));
        settings(f, false, false, true);
        const auto end = startAndWait(f);
        QCOMPARE(end.value(0).value<BatchRun::Outcome>(), BatchRun::StartFailed);
        QCOMPARE(m_messages, QStringList{Product::Name + QStringLiteral("|Error on CreateProcess()")});
        QCOMPARE(statuses(f.Tasks), (QStringList{"Error", "OK"}));
        QVERIFY(m_opened.urls.isEmpty());
        verifyIdle(f);
    }

    void completionActions_data()
    {
        QTest::addColumn<bool>("turnOff");
        QTest::addColumn<bool>("exit");
        QTest::addColumn<bool>("openDir");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("message");
        QTest::newRow("power off") << true << false << true << true << false;
        QTest::newRow("power off and exit") << true << true << false << true << false;
        QTest::newRow("exit") << false << true << true << true << false;
        QTest::newRow("message and folder") << false << false << true << false << true;
        QTest::newRow("message only") << false << false << false << false << true;
    }
    void completionActions()
    {
        QFETCH(bool, turnOff);
        QFETCH(bool, exit);
        QFETCH(bool, openDir);
        QFETCH(bool, closes);
        QFETCH(bool, message);
        auto s = setup();
        TMainForm &f = *s->form;
        f.EncoderPath = RunHelpers::fakeEncoderPath();
        addTask(f.Tasks, TestUtil::writeFile(s->in + QStringLiteral("a.avi"), "x"), QStringLiteral("00:00:01"),
                QStringLiteral(".mp4"));
        f.EnableListCommandsIfAny();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        settings(f, turnOff, exit, openDir);
        const int calls = powerOffCalls();
        const auto end = startAndWait(f);
        QCOMPARE(end.value(0).value<BatchRun::Outcome>(), BatchRun::Completed);
        QTRY_COMPARE(powerOffCalls(), calls + (turnOff ? 1 : 0));
        QCOMPARE(f.isVisible(), !closes);
        QCOMPARE(m_messages.size(), message ? 1 : 0);
        QCOMPARE(m_opened.urls.size(), message && openDir ? 1 : 0);
        QVERIFY(!f.timerTime->isActive());
        if (!closes)
            verifyIdle(f);
    }

    // The option builder fails: its message, no run, the window given back.
    void optionBuilderFailure()
    {
        auto s = setup();
        TMainForm &f = *s->form;
        TestUtil::writeFile(s->appDir + QStringLiteral("Profiles/Broken.apf"),
                            "[Main]\r\nType=mp4\r\nPara=1\r\n0=Video Size\r\n[Video Size]\r\nSort=1\r\ncmd=-s\r\n"
                            "List=1\r\nCaption=Original Size,320x240,\r\nValue=,\r\nIndex=0\r\n");
        f.cmbProfile->addItem(QStringLiteral("Broken"));
        f.cmbProfile->setCurrentIndex(f.cmbProfile->count() - 1);
        f.vleVideo->rows()->setValue(QStringLiteral("Video Size"), QStringLiteral("320x240"));
        addClips(*s, {QStringLiteral("a.mp4")});
        f.tbtnStart->click();
        if (f.Run && f.Run->isRunning()) {
            QSignalSpy finished(f.Run, &BatchRun::runFinished);
            QVERIFY(finished.wait(60000));
            QSKIP("BuildEncoderOptions does not raise its list-index error yet");
        }
        QCOMPARE(m_messages, QStringList{Product::Name + QStringLiteral("|List index out of bounds (1)")});
        QCOMPARE(statuses(f.Tasks), QStringList{QStringLiteral("OK")});
        verifyIdle(f);
    }
};

QTEST_MAIN(TestRunWindow)
#include "tst_runwindow.moc"
