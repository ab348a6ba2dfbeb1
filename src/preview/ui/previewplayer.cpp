#include "preview/ui/previewplayer.h"

#include <QApplication>
#include <QAudioOutput>
#include <QHBoxLayout>
#include <QLabel>
#include <QMediaPlayer>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QVideoWidget>
#include <QWheelEvent>

namespace {
// The current style, except that a left click on the groove moves the handle there.
class TrackBarStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_Slider_AbsoluteSetButtons)
            return Qt::LeftButton;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};
}  // namespace

TPreviewTrackBar::TPreviewTrackBar(QWidget *parent) : QSlider(Qt::Horizontal, parent)
{
    auto *style = new TrackBarStyle(QStyleFactory::create(QApplication::style()->name()));
    style->setParent(this);
    setStyle(style);
    setRange(0, 0);
    setFocusPolicy(Qt::NoFocus);
}

void TPreviewTrackBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_held = true;
    QSlider::mousePressEvent(event);
}

void TPreviewTrackBar::mouseReleaseEvent(QMouseEvent *event)
{
    QSlider::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && m_held) {
        m_held = false;
        Q_EMIT released();
    }
}

// The wheel would move the handle without seeking: leave it to the parent.
void TPreviewTrackBar::wheelEvent(QWheelEvent *event) { event->ignore(); }

TPreviewPlayer::TPreviewPlayer(QWidget *parent) : QWidget(parent)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    VideoWindow1 = new QVideoWidget(this);
    VideoWindow1->setAutoFillBackground(true);
    QPalette black = VideoWindow1->palette();
    black.setColor(QPalette::Window, Qt::black);
    VideoWindow1->setPalette(black);
    VideoWindow1->setMinimumHeight(1);
    column->addWidget(VideoWindow1, 1);

    panPreviewButton = new QWidget(this);
    auto *strip = new QVBoxLayout(panPreviewButton);
    strip->setContentsMargins(2, 2, 2, 2);
    strip->setSpacing(0);
    TrackBar = new TPreviewTrackBar(panPreviewButton);
    strip->addWidget(TrackBar);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(1);
    const auto button = [this](QStyle::StandardPixmap icon, const QString &hint) {
        auto *b = new QToolButton(panPreviewButton);
        b->setIcon(style()->standardIcon(icon));
        b->setToolTip(hint);
        b->setAutoRaise(true);
        b->setFixedSize(23, 22);
        return b;
    };
    sbtnPlay = button(QStyle::SP_MediaPlay, QStringLiteral("Play"));
    sbtnPause = button(QStyle::SP_MediaPause, QStringLiteral("Pause / Resume"));
    sbtnStop = button(QStyle::SP_MediaStop, QStringLiteral("Stop"));
    labPreviewTime = new QLabel(QStringLiteral("00:00:00"), panPreviewButton);
    labPreviewTime->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (QToolButton *b : {sbtnPlay, sbtnPause, sbtnStop})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(labPreviewTime);
    strip->addLayout(buttons);
    column->addWidget(panPreviewButton);

    FilterGraph = new QMediaPlayer(this);
    AudioOutput = new QAudioOutput(this);
    FilterGraph->setAudioOutput(AudioOutput);
    FilterGraph->setVideoOutput(VideoWindow1);

    m_timer = new QTimer(this);
    m_timer->setInterval(TimerInterval);
    connect(m_timer, &QTimer::timeout, this, &TPreviewPlayer::updateTrackBar);
    connect(FilterGraph, &QMediaPlayer::playbackStateChanged, this, &TPreviewPlayer::followPlayback);
    // At the end of the file the bar shows the end once more before it rests.
    connect(FilterGraph, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::EndOfMedia)
            updateTrackBar();
    });
    connect(TrackBar, &TPreviewTrackBar::released, this, &TPreviewPlayer::seekToTrackBar);
}

TPreviewPlayer::~TPreviewPlayer()
{
    // The player goes first, while its outputs still exist.
    m_timer->stop();
    FilterGraph->stop();
    delete FilterGraph;
    FilterGraph = nullptr;
}

void TPreviewPlayer::clear()
{
    FilterGraph->stop();
    FilterGraph->setSource(QUrl());
}

void TPreviewPlayer::renderFile(const QString &path)
{
    FilterGraph->setSource(path.isEmpty() ? QUrl() : QUrl::fromLocalFile(path));
}

void TPreviewPlayer::play()
{
    if (!FilterGraph->source().isEmpty())
        FilterGraph->play();
}

void TPreviewPlayer::pause() { FilterGraph->pause(); }

void TPreviewPlayer::stop() { FilterGraph->stop(); }

TPreviewPlayer::State TPreviewPlayer::state() const
{
    if (FilterGraph->source().isEmpty())
        return NotAvailable;
    switch (FilterGraph->playbackState()) {
    case QMediaPlayer::PlayingState:
        return Playing;
    case QMediaPlayer::PausedState:
        return Paused;
    case QMediaPlayer::StoppedState:
        break;
    }
    return Stopped;
}

qint64 TPreviewPlayer::currentPosition() const { return FilterGraph->position(); }

qint64 TPreviewPlayer::stopPosition() const { return FilterGraph->duration(); }

bool TPreviewPlayer::isTimerRunning() const { return m_timer->isActive(); }

void TPreviewPlayer::followPlayback()
{
    if (FilterGraph->playbackState() == QMediaPlayer::PlayingState)
        m_timer->start();
    else
        m_timer->stop();
}

// A file that could not be opened reports no position worth showing.
bool TPreviewPlayer::hasPlayableMedia() const
{
    switch (FilterGraph->mediaStatus()) {
    case QMediaPlayer::LoadedMedia:
    case QMediaPlayer::BufferingMedia:
    case QMediaPlayer::BufferedMedia:
    case QMediaPlayer::StalledMedia:
    case QMediaPlayer::EndOfMedia:
        return true;
    default:
        return false;
    }
}

// Range and position in whole seconds, truncated; left alone while the user holds the bar.
void TPreviewPlayer::updateTrackBar()
{
    if (TrackBar->isHeld() || !hasPlayableMedia())
        return;
    const qint64 current = currentPosition();
    const qint64 end = stopPosition();
    TrackBar->setRange(0, static_cast<int>(qMax<qint64>(end, 0) / 1000));
    TrackBar->setValue(static_cast<int>(qMax<qint64>(current, 0) / 1000));
    Q_EMIT trackBarTimer(current, end);
}

// The bar's share of its range, applied to the whole file.
void TPreviewPlayer::seekToTrackBar()
{
    const int maximum = TrackBar->maximum();
    if (maximum <= 0 || !hasPlayableMedia())
        return;
    FilterGraph->setPosition(stopPosition() * TrackBar->value() / maximum);
}
