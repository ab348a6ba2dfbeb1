#pragma once
// The preview player: a media player shown in a black video area, with a seek bar, the
// Play, Pause / Resume and Stop buttons and the time played. The window that holds it
// decides what the buttons do; the player offers the operations they need.
#include <QSlider>
#include <QWidget>

class QAudioOutput;
class QLabel;
class QMediaPlayer;
class QTimer;
class QToolButton;
class QVideoWidget;

// The seek bar. While the left button is held on it the player leaves it alone; letting
// go reports released(), on which the player seeks. A click on the groove puts the
// handle where the click was.
class TPreviewTrackBar : public QSlider
{
    Q_OBJECT
public:
    explicit TPreviewTrackBar(QWidget *parent = nullptr);
    bool isHeld() const { return m_held; }

Q_SIGNALS:
    void released();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    bool m_held = false;
};

class TPreviewPlayer : public QWidget
{
    Q_OBJECT
public:
    enum State { NotAvailable, Stopped, Paused, Playing };
    // How often the seek bar follows the playback, in milliseconds.
    static constexpr int TimerInterval = 1000;

    explicit TPreviewPlayer(QWidget *parent = nullptr);
    ~TPreviewPlayer() override;

    QMediaPlayer *FilterGraph = nullptr;
    QAudioOutput *AudioOutput = nullptr;
    QVideoWidget *VideoWindow1 = nullptr;
    QWidget *panPreviewButton = nullptr;
    TPreviewTrackBar *TrackBar = nullptr;
    QToolButton *sbtnPlay = nullptr, *sbtnPause = nullptr, *sbtnStop = nullptr;
    QLabel *labPreviewTime = nullptr;

    // Stops playback and forgets the file.
    void clear();
    // Loads a file; whether it can be played is not examined (a file that cannot be
    // played simply shows nothing).
    void renderFile(const QString &path);
    void play();
    void pause();
    void stop();
    State state() const;
    // Current position and the end of the file, in milliseconds.
    qint64 currentPosition() const;
    qint64 stopPosition() const;
    bool isTimerRunning() const;

Q_SIGNALS:
    // Raised after each update of the seek bar, with the current and the stop position in
    // milliseconds.
    void trackBarTimer(qint64 currentPosition, qint64 stopPosition);

private:
    void followPlayback();
    void updateTrackBar();
    void seekToTrackBar();
    bool hasPlayableMedia() const;
    QTimer *m_timer = nullptr;
};
