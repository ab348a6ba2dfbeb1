// The preview pane: real playback of generated clips.
#include "app/ui/application.h"
#include "app/ui/mainform.h"
#include "preview/ui/previewplayer.h"
#include "tasks/timevalues.h"
#include "testutil.h"

#include <QtTest>
#include <QLabel>
#include <QLineEdit>
#include <QMediaPlayer>
#include <QMessageBox>
#include <QStyleOptionSlider>
#include <QToolButton>
#include <QTreeView>
#include <QVideoFrame>
#include <QVideoSink>
#include <QVideoWidget>
#include <memory>

namespace {
constexpr int Slow = 30000;  // generous: playback starts slowly on a busy machine

// The point on the seek bar's groove that stands for a fraction of its length.
QPoint trackBarPoint(TPreviewTrackBar *bar, double fraction)
{
    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.orientation = bar->orientation();
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    const QRect groove = bar->style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderGroove, bar);
    const QRect handle = bar->style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, bar);
    const int span = groove.width() - handle.width();
    return QPoint(groove.left() + handle.width() / 2 + static_cast<int>(span * fraction), groove.center().y());
}

// Whole seconds the time label shows.
double shown(TMainForm *f) { return TimeToSeconds(f->labPreviewTime->text()); }

bool anyMessageBox()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMessageBox *>(w) && w->isVisible())
            return true;
    }
    return false;
}
}  // namespace

class TestPreview : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_appDir, m_clip, m_second;
    std::unique_ptr<TMainForm> m_form;

    TMainForm *create(const QStringList &tasks = {})
    {
        m_form.reset(CreateWindows(m_appDir, {}).MainForm);
        for (const QString &t : tasks)
            m_form->Tasks.appendRow(t);
        m_form->show();
        return m_form.get();
    }

    // Plays the first task and waits for the seek bar's first update; null if it never came.
    TMainForm *playing()
    {
        TMainForm *f = create({m_clip, m_second});
        f->sbtnPlay->click();
        return QTest::qWaitFor([f] { return f->TrackBar->maximum() > 0; }, Slow) ? f : nullptr;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_appDir = TestUtil::makeAppDir(m_dir);
        m_clip = m_dir.filePath(QStringLiteral("clip.avi"));
        m_second = m_dir.filePath(QStringLiteral("second clip.mp4"));
        QVERIFY(TestUtil::makeClip(m_clip, 6));
        QVERIFY(TestUtil::makeClip(m_second, 2));
    }

    void cleanup() { m_form.reset(); }

    void paneAtRest()
    {
        TMainForm *f = create();
        QCOMPARE(f->panPreview->height(), 177);
        QCOMPARE(f->labPreviewTime->text(), QStringLiteral("00:00:00"));
        QCOMPARE(f->sbtnPlay->toolTip(), QStringLiteral("Play"));
        QCOMPARE(f->sbtnPause->toolTip(), QStringLiteral("Pause / Resume"));
        QCOMPARE(f->sbtnStop->toolTip(), QStringLiteral("Stop"));
        QCOMPARE(f->VideoWindow1->palette().color(QPalette::Window), QColor(Qt::black));
        QVERIFY(f->VideoWindow1->isVisible());
        QVERIFY(f->TrackBar->isVisible());
        QCOMPARE(f->Preview->state(), TPreviewPlayer::NotAvailable);
    }

    // Buttons that find nothing to play leave everything as it was.
    void nothingToPlay_data()
    {
        QTest::addColumn<int>("tasks");
        QTest::addColumn<QString>("action");
        QTest::newRow("play, empty list") << 0 << "play";
        QTest::newRow("preview, none selected") << 2 << "preview";
        QTest::newRow("pause, nothing loaded") << 2 << "pause";
        QTest::newRow("stop, nothing loaded") << 2 << "stop";
    }
    void nothingToPlay()
    {
        QFETCH(int, tasks);
        QFETCH(QString, action);
        TMainForm *f = create(QStringList{m_clip, m_second}.mid(0, tasks));
        if (action == "play")
            f->sbtnPlay->click();
        else if (action == "preview")
            f->PreviewSelectedTask();
        else if (action == "pause")
            f->sbtnPause->click();
        else
            f->sbtnStop->click();
        QCOMPARE(f->Preview->state(), TPreviewPlayer::NotAvailable);
        QVERIFY(f->FilterGraph->source().isEmpty());
        QVERIFY(f->Tasks.selectedRows().isEmpty());
        QCOMPARE(f->labPreviewTime->text(), QStringLiteral("00:00:00"));
    }

    void playSelectsFirstTaskAndShowsIt()
    {
        TMainForm *f = create({m_clip, m_second});
        QSignalSpy frames(f->VideoWindow1->videoSink(), &QVideoSink::videoFrameChanged);
        f->sbtnPlay->click();
        QCOMPARE(f->Tasks.selectedRows(), QList<int>{0});
        QCOMPARE(f->ltvTask->currentIndex().row(), 0);
        QCOMPARE(f->FilterGraph->source(), QUrl::fromLocalFile(m_clip));
        QCOMPARE(f->Preview->state(), TPreviewPlayer::Playing);

        // The picture reaches the pane; bar and label follow in whole seconds.
        QTRY_VERIFY_WITH_TIMEOUT(!frames.isEmpty(), Slow);
        QCOMPARE(frames.last().at(0).value<QVideoFrame>().size(), QSize(160, 120));
        QTRY_VERIFY_WITH_TIMEOUT(shown(f) >= 1, Slow);
        QCOMPARE(f->TrackBar->maximum(), 6);
        QCOMPARE(f->labPreviewTime->text(), SecondsToTime(f->TrackBar->value()));
        QVERIFY(f->TrackBar->value() <= f->FilterGraph->position() / 1000);

        // Removing the tasks leaves the preview playing on.
        const double before = shown(f);
        f->Tasks.clear();
        QTRY_VERIFY_WITH_TIMEOUT(shown(f) > before, Slow);
        QCOMPARE(f->Preview->state(), TPreviewPlayer::Playing);
    }

    void previewPlaysTheFirstSelectedTaskFromItsStart()
    {
        TMainForm *f = playing();
        QVERIFY(f);
        f->Tasks.setSelected(0, false);
        f->Tasks.setSelected(1, true);
        f->PreviewSelectedTask();
        QCOMPARE(f->FilterGraph->source(), QUrl::fromLocalFile(m_second));
        QTRY_COMPARE_WITH_TIMEOUT(f->TrackBar->maximum(), 2, Slow);
        // The same file again starts over.
        QTRY_VERIFY_WITH_TIMEOUT(f->FilterGraph->position() >= 1000, Slow);
        f->PreviewSelectedTask();
        QTRY_VERIFY_WITH_TIMEOUT(f->FilterGraph->position() < 1000, Slow);
        QCOMPARE(f->Preview->state(), TPreviewPlayer::Playing);
    }

    void pauseKeepsThePositionAndResumesFromIt()
    {
        TMainForm *f = playing();
        QVERIFY(f);
        f->sbtnPause->click();
        QCOMPARE(f->Preview->state(), TPreviewPlayer::Paused);
        QVERIFY(!f->Preview->isTimerRunning());
        QTest::qWait(200);  // the pipeline settles on its paused position
        const qint64 paused = f->FilterGraph->position();
        const QString label = f->labPreviewTime->text();
        QTest::qWait(2 * TPreviewPlayer::TimerInterval);
        QVERIFY2(qAbs(f->FilterGraph->position() - paused) < 100, qPrintable(QString::number(f->FilterGraph->position())));
        QCOMPARE(f->labPreviewTime->text(), label);

        f->sbtnPause->click();
        QCOMPARE(f->Preview->state(), TPreviewPlayer::Playing);
        QVERIFY(f->FilterGraph->position() >= paused - 100);
        QTRY_VERIFY_WITH_TIMEOUT(f->FilterGraph->position() > paused + 500, Slow);
        QVERIFY(f->TrackBar->value() >= paused / 1000);
    }

    // The Stop button and a starting run end playback the same way.
    void stop_data()
    {
        QTest::addColumn<bool>("byRun");
        QTest::newRow("Stop button") << false;
        QTest::newRow("a run starts") << true;
    }
    void stop()
    {
        QFETCH(bool, byRun);
        TMainForm *f = playing();
        QVERIFY(f);
        QTRY_VERIFY_WITH_TIMEOUT(shown(f) >= 1, Slow);
        const QString label = f->labPreviewTime->text();
        if (byRun) {
            // Start locks the window for the run, which stops the preview first.
            QTemporaryDir out;
            TMainForm::MessageHook = [](QMessageBox::Icon, const QString &, const QString &) {};
            f->edtOutputdir->setText(out.path() + QLatin1Char('/'));
            f->tbtnStartClick();
            QCOMPARE(f->Preview->state(), TPreviewPlayer::Stopped);
            QVERIFY(f->RunState != 0);
            f->tbtnStopClick();
            QTRY_COMPARE_WITH_TIMEOUT(f->RunState, 0, Slow);
            TMainForm::MessageHook = nullptr;
        } else {
            f->sbtnStop->click();
        }
        QCOMPARE(f->Preview->state(), TPreviewPlayer::Stopped);
        QVERIFY(!f->Preview->isTimerRunning());
        QTest::qWait(2 * TPreviewPlayer::TimerInterval);
        QCOMPARE(f->labPreviewTime->text(), label);
        // Pause / Resume does nothing on a stopped preview; Play starts over.
        f->sbtnPause->click();
        QCOMPARE(f->Preview->state(), TPreviewPlayer::Stopped);
        f->sbtnPlay->click();
        QCOMPARE(f->Preview->state(), TPreviewPlayer::Playing);
        QTRY_VERIFY_WITH_TIMEOUT(f->FilterGraph->position() > 0, Slow);
    }

    void seekThroughTheBar()
    {
        TMainForm *f = playing();
        QVERIFY(f);
        TPreviewTrackBar *bar = f->TrackBar;
        QCOMPARE(bar->maximum(), 6);
        const qint64 end = f->FilterGraph->duration();

        // Paused: a click at three quarters moves there and the picture stays paused.
        f->sbtnPause->click();
        QTest::mouseClick(bar, Qt::LeftButton, {}, trackBarPoint(bar, 0.75));
        const int v = bar->value();
        QVERIFY2(v >= 4 && v <= 5, qPrintable(QString::number(v)));
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(f->FilterGraph->position() - end * v / 6) < 250, Slow);
        QCOMPARE(f->Preview->state(), TPreviewPlayer::Paused);
        f->sbtnPause->click();
        QTRY_VERIFY_WITH_TIMEOUT(shown(f) >= v, Slow);

        // Playing: while the bar is held it is left alone; letting go at the start seeks back.
        f->PreviewSelectedTask();
        QTRY_VERIFY_WITH_TIMEOUT(bar->value() >= 1, Slow);
        QSignalSpy ticks(f->Preview, &TPreviewPlayer::trackBarTimer);
        const QString label = f->labPreviewTime->text();
        QTest::mousePress(bar, Qt::LeftButton, {}, trackBarPoint(bar, 0));
        QCOMPARE(bar->value(), 0);
        QTest::qWait(2 * TPreviewPlayer::TimerInterval + 500);
        QCOMPARE(ticks.count(), 0);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(f->labPreviewTime->text(), label);
        const qint64 before = f->FilterGraph->position();
        QVERIFY(before >= 2000);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, trackBarPoint(bar, 0));
        QTRY_VERIFY_WITH_TIMEOUT(f->FilterGraph->position() < 1000, Slow);
        QTRY_VERIFY_WITH_TIMEOUT(!ticks.isEmpty(), Slow);
    }

    // A file that cannot be played: no message, nothing raised, the label stays.
    void unplayableFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");  // "-" = no file at all
        QTest::newRow("random bytes") << QByteArray::fromHex("52494646ffffffff415649204c495354")
                                             .append(QByteArray(3000, '\x5a'));
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("missing file") << QByteArray("-");
    }
    void unplayableFile()
    {
        QFETCH(QByteArray, bytes);
        const QString bad = m_dir.filePath(QStringLiteral("bad %1.avi").arg(QTest::currentDataTag()));
        if (bytes != "-")
            TestUtil::writeFile(bad, bytes);
        TMainForm *f = playing();
        QVERIFY(f);
        QTRY_VERIFY_WITH_TIMEOUT(shown(f) >= 1, Slow);
        const QString label = f->labPreviewTime->text();
        const int row = f->Tasks.appendRow(bad);
        f->Tasks.selection()->clearSelection();
        f->Tasks.setSelected(row, true);
        QSignalSpy ticks(f->Preview, &TPreviewPlayer::trackBarTimer);
        f->PreviewSelectedTask();
        // GStreamer does not always report such a file as invalid; either way nothing plays.
        QTest::qWaitFor([f] { return f->FilterGraph->mediaStatus() == QMediaPlayer::InvalidMedia; }, 3000);
        QTest::qWait(2 * TPreviewPlayer::TimerInterval);
        QCOMPARE(ticks.count(), 0);
        QCOMPARE(f->labPreviewTime->text(), label);
        f->sbtnPause->click();
        f->sbtnPause->click();
        f->sbtnStop->click();
        QCOMPARE(ticks.count(), 0);

        // A playable task plays again afterwards.
        f->Tasks.selection()->clearSelection();
        f->Tasks.setSelected(0, true);
        f->PreviewSelectedTask();
        QTRY_VERIFY_WITH_TIMEOUT(!ticks.isEmpty(), Slow);
        QCOMPARE(f->Preview->state(), TPreviewPlayer::Playing);
        QVERIFY(!anyMessageBox());
    }
};

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
