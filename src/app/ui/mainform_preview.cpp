// The preview pane of the main window.
#include "app/ui/mainform.h"
#include "preview/ui/previewplayer.h"
#include "tasks/timevalues.h"

#include <QToolButton>
#include <QVBoxLayout>

void TMainForm::CreatePreviewPane()
{
    auto *fill = new QVBoxLayout(panPreview);
    fill->setContentsMargins(0, 0, 0, 0);
    Preview = new TPreviewPlayer(panPreview);
    fill->addWidget(Preview);
    FilterGraph = Preview->FilterGraph;
    VideoWindow1 = Preview->VideoWindow1;
    panPreviewButton = Preview->panPreviewButton;
    TrackBar = Preview->TrackBar;
    sbtnPlay = Preview->sbtnPlay;
    sbtnPause = Preview->sbtnPause;
    sbtnStop = Preview->sbtnStop;
    labPreviewTime = Preview->labPreviewTime;

    connect(sbtnPlay, &QToolButton::clicked, this, &TMainForm::sbtnPlayClick);
    connect(sbtnPause, &QToolButton::clicked, this, &TMainForm::sbtnPauseClick);
    connect(sbtnStop, &QToolButton::clicked, this, &TMainForm::sbtnStopClick);
    connect(Preview, &TPreviewPlayer::trackBarTimer, this, &TMainForm::TrackBarTimer);
}

// Replays from the start, also when the same file is already playing. The outcome of
// loading is not examined: a file that cannot be played shows nothing and says nothing.
void TMainForm::PreviewSelectedTask()
{
    const int row = Tasks.firstSelectedRow();
    if (row < 0)
        return;
    Preview->clear();
    Preview->renderFile(Tasks.cell(row, -1));
    Preview->play();
}

void TMainForm::StopPreview() { Preview->stop(); }

void TMainForm::sbtnPlayClick()
{
    if (Tasks.count() == 0)
        return;
    if (Tasks.firstSelectedRow() < 0) {
        Tasks.setSelected(0, true);
        Tasks.selection()->setCurrentIndex(Tasks.model()->index(0, 0), QItemSelectionModel::NoUpdate);
    }
    PreviewSelectedTask();
}

void TMainForm::sbtnPauseClick()
{
    switch (Preview->state()) {
    case TPreviewPlayer::Playing:
        Preview->pause();
        break;
    case TPreviewPlayer::Paused:
        Preview->play();
        break;
    default:
        break;
    }
}

void TMainForm::sbtnStopClick() { Preview->stop(); }

void TMainForm::TrackBarTimer(qint64, qint64)
{
    labPreviewTime->setText(SecondsToTime(TrackBar->value()));
}
