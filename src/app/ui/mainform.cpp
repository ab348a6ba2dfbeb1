#include "app/ui/mainform.h"

#include "profiles/ui/valuelisteditor.h"
#include "shell/product.h"
#include "shell/startup.h"
#include "shell/ui/folderpicker.h"
#include "tasks/taskrecord.h"

#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>
#include <cmath>

TSplitterBar::TSplitterBar(QWidget *parent) : QLabel(QStringLiteral("<>"), parent)
{
    setAlignment(Qt::AlignCenter);
    setCursor(Qt::SizeHorCursor);
    setFixedWidth(10);
    setMouseTracking(true);
}

void TSplitterBar::mouseMoveEvent(QMouseEvent *event)
{
    Q_EMIT dragged(static_cast<int>(event->position().x()), event->buttons(), event->modifiers());
}

THeaderBar::THeaderBar(const QString &caption, QWidget *parent) : QFrame(parent)
{
    setFixedHeight(18);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Dark));
    setPalette(pal);
    auto *label = new QLabel(caption, this);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    QPalette black = label->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(black);
    label->setGeometry(0, 0, 400, 18);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_button = new QPushButton(QStringLiteral("-"), this);
    m_button->setFont(bold);
    m_button->setPalette(black);
    m_button->setGeometry(5, 3, 12, 12);
    m_button->setFocusPolicy(Qt::NoFocus);
    m_button->setStyleSheet(QStringLiteral("QPushButton { padding: 0px; margin: 0px; color: black; }"));
}

void THeaderBar::mouseDoubleClickEvent(QMouseEvent *event)
{
    QFrame::mouseDoubleClickEvent(event);
    Q_EMIT doubleClicked();
}

// Captions end just before their controls, whatever width this platform's font gives them.
static void alignBefore(QLabel *caption, QWidget *control)
{
    const int w = caption->sizeHint().width();
    caption->setGeometry(control->x() - w - 3, caption->y(), w, caption->sizeHint().height());
}

TMainForm::TMainForm(const QString &appDir, const QStringList &args, QWidget *parent)
    : QMainWindow(parent), CommandLine(args)
{
    AppDir = AddTrailingBackslash(appDir);
    resize(790, 505);
    QFont f = font();
    f.setPointSize(8);
    setFont(f);
    buildToolbar();
    buildMainArea();
    Memo1 = new QPlainTextEdit(this);
    Memo1->hide();
    timerTime = new QTimer(this);
    timerTime->setInterval(1000);
    connectHandlers();
    connectProfileHandlers();
    FormCreate();
}

TMainForm::~TMainForm() = default;

ProfileEditors TMainForm::editors() const
{
    return ProfileEditors{vleVideo->rows(), vleAudio->rows(), vleAdvanced->rows()};
}

void TMainForm::buildToolbar()
{
    Toolbar1 = new QToolBar(this);
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setFixedHeight(75);
    Toolbar1->setIconSize(QSize(48, 48));
    Toolbar1->setContentsMargins(5, 5, 5, 5);
    Toolbar1->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, Toolbar1);
    const auto button = [this](const QString &hint, const char *theme, QStyle::StandardPixmap fallback) {
        auto *b = new QToolButton(Toolbar1);
        b->setToolTip(hint);
        b->setAutoRaise(true);
        b->setFixedSize(56, 54);
        b->setIconSize(QSize(48, 48));
        b->setIcon(QIcon::fromTheme(QString::fromLatin1(theme), style()->standardIcon(fallback)));
        b->setFocusPolicy(Qt::NoFocus);
        Toolbar1->addWidget(b);
        return b;
    };
    const auto gap = [this](int w) {
        auto *g = new QWidget(Toolbar1);
        g->setFixedWidth(w);
        Toolbar1->addWidget(g);
    };
    tbtnAddFile = button(QStringLiteral("Add Video Files"), "list-add", QStyle::SP_FileIcon);
    tbtnAddDir = button(QStringLiteral("Add Directory"), "folder-new", QStyle::SP_DirIcon);
    gap(8);
    tbtnUp = button(QStringLiteral("Move Up"), "go-up", QStyle::SP_ArrowUp);
    tbtnDown = button(QStringLiteral("Move Down"), "go-down", QStyle::SP_ArrowDown);
    tbtnRemove = button(QStringLiteral("Remove"), "list-remove", QStyle::SP_DialogDiscardButton);
    tbtnClear = button(QStringLiteral("Clear"), "edit-clear", QStyle::SP_TrashIcon);
    gap(8);
    tbtnStart = button(QStringLiteral("Start"), "media-playback-start", QStyle::SP_MediaPlay);
    tbtnStop = button(QStringLiteral("Stop"), "media-playback-stop", QStyle::SP_MediaStop);
    gap(12);
    tbtnSetting = button(QStringLiteral("Settings"), "preferences-system", QStyle::SP_FileDialogDetailedView);
    gap(8);
    tbtnAbout = button(QStringLiteral("About"), "help-about", QStyle::SP_MessageBoxInformation);
    tbtnHelp = button(QStringLiteral("Help"), "help-contents", QStyle::SP_DialogHelpButton);
    for (QToolButton *b : {tbtnUp, tbtnDown, tbtnRemove, tbtnClear, tbtnStart, tbtnStop})
        b->setEnabled(false);
}

void TMainForm::buildMainArea()
{
    auto *central = new QWidget(this);
    auto *row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    panMain = new QWidget(central);
    auto *mainColumn = new QVBoxLayout(panMain);
    mainColumn->setContentsMargins(0, 0, 0, 0);
    mainColumn->setSpacing(0);
    auto *listRow = new QHBoxLayout;
    listRow->setSpacing(0);
    panLeft = new QWidget(panMain);
    panLeft->setFixedWidth(10);
    listRow->addWidget(panLeft);
    ltvTask = new QTreeView(panMain);
    ltvTask->setModel(Tasks.model());
    ltvTask->setSelectionModel(Tasks.selection());
    ltvTask->setRootIsDecorated(false);
    ltvTask->setItemsExpandable(false);
    ltvTask->setUniformRowHeights(true);
    ltvTask->setSortingEnabled(false);
    ltvTask->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ltvTask->setSelectionBehavior(QAbstractItemView::SelectRows);
    ltvTask->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ltvTask->setContextMenuPolicy(Qt::CustomContextMenu);
    ltvTask->header()->setStretchLastSection(false);
    ltvTask->header()->setSectionsMovable(false);
    for (int c = TaskList::VisibleColumns; c < TaskList::ColumnCount; ++c)
        ltvTask->setColumnHidden(c, true);
    ltvTask->installEventFilter(this);
    listRow->addWidget(ltvTask, 1);
    mainColumn->addLayout(listRow, 1);
    buildBottomRow();
    mainColumn->addWidget(panBottom);
    row->addWidget(panMain, 1);
    panMain->installEventFilter(this);

    panSplitter = new TSplitterBar(central);
    row->addWidget(panSplitter);

    buildProfilePane();
    row->addWidget(panProfile);
    setCentralWidget(central);
    setAcceptDrops(true);
}

void TMainForm::buildBottomRow()
{
    panBottom = new QWidget(panMain);
    panBottom->setFixedHeight(77);

    panBottomCenter = new QWidget(panBottom);
    panBottomCenter->setGeometry(0, 0, 607, 77);
    labProfile = new QLabel(QStringLiteral("Profile:"), panBottomCenter);
    labProfile->move(40, 16);
    cmbProfile = new QComboBox(panBottomCenter);
    cmbProfile->setGeometry(74, 13, 407, 21);
    bbtnSetting = new QPushButton(QStringLiteral("&Setting"), panBottomCenter);
    bbtnSetting->setGeometry(490, 10, 75, 25);
    labOutputPath = new QLabel(QStringLiteral("Output Path:"), panBottomCenter);
    labOutputPath->move(12, 48);
    edtOutputdir = new QLineEdit(panBottomCenter);
    edtOutputdir->setGeometry(75, 43, 322, 21);
    bbtnBrowser = new QPushButton(QStringLiteral("&Browse"), panBottomCenter);
    bbtnBrowser->setGeometry(405, 41, 75, 25);
    bbtnOpen = new QPushButton(QStringLiteral("&Open"), panBottomCenter);
    bbtnOpen->setGeometry(490, 40, 75, 25);
    alignBefore(labProfile, cmbProfile);
    alignBefore(labOutputPath, edtOutputdir);

    panBottomLeft = new QWidget(panBottom);
    panBottomLeft->setGeometry(0, 0, 607, 77);
    const auto label = [this](const QString &text, int x, int y, int w = -1) {
        auto *l = new QLabel(text, panBottomLeft);
        l->move(x, y);
        if (w > 0)
            l->setFixedWidth(w);
        return l;
    };
    labConverting = label(QStringLiteral("Converting:"), 11, 8);
    labConvertingFile = label(QStringLiteral("No File"), 67, 8, 222);
    labTimeElapsed = label(QStringLiteral("Time Elapsed:"), 298, 8);
    labElapsed = label(QStringLiteral("00:00:00"), 367, 8);
    labTimeRemaining = label(QStringLiteral("Time Remaining:"), 433, 8);
    labRemaining = label(QStringLiteral("00:00:00"), 515, 8);
    labCurrentProgress = label(QStringLiteral("Current Progress:"), 28, 29);
    pgbCurrent = new QProgressBar(panBottomLeft);
    pgbCurrent->setGeometry(115, 29, 430, 17);
    pgbCurrent->setRange(0, 100);
    pgbCurrent->setValue(0);
    pgbCurrent->setTextVisible(false);
    labCurProgress = label(QStringLiteral("0%"), 553, 31, 40);
    labTotalProgressCaption = label(QStringLiteral("Total Progress:"), 38, 53);
    pgbTotal = new QProgressBar(panBottomLeft);
    pgbTotal->setGeometry(115, 52, 430, 17);
    pgbTotal->setRange(0, 100);
    pgbTotal->setValue(0);
    pgbTotal->setTextVisible(false);
    labTotalProgress = label(QStringLiteral("0%"), 553, 54, 40);
    for (QLabel *l : {labElapsed, labRemaining})
        l->setFixedWidth(64);
    alignBefore(labConverting, labConvertingFile);
    alignBefore(labTimeElapsed, labElapsed);
    alignBefore(labTimeRemaining, labRemaining);
    alignBefore(labCurrentProgress, pgbCurrent);
    alignBefore(labTotalProgressCaption, pgbTotal);
}

void TMainForm::buildProfilePane()
{
    panProfile = new QWidget(this);
    panProfile->setFixedWidth(200);
    auto *column = new QVBoxLayout(panProfile);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    Splitter1 = new QSplitter(Qt::Vertical, panProfile);
    Splitter1->setHandleWidth(4);
    Splitter1->setChildrenCollapsible(false);
    column->addWidget(Splitter1);

    auto *top = new QWidget(Splitter1);
    auto *topRow = new QHBoxLayout(top);
    topRow->setContentsMargins(0, 0, 0, 0);
    topRow->setSpacing(0);
    gpbProfile = new QGroupBox(QStringLiteral("Profile Detail"), top);
    auto *groupColumn = new QVBoxLayout(gpbProfile);
    groupColumn->setContentsMargins(2, 2, 2, 2);
    sbxProfile = new QScrollArea(gpbProfile);
    sbxProfile->setFrameShape(QFrame::NoFrame);
    sbxProfile->setWidgetResizable(true);
    sbxProfile->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sbxProfile->setBackgroundRole(QPalette::Window);
    auto *stack = new QWidget;
    auto *stackColumn = new QVBoxLayout(stack);
    stackColumn->setContentsMargins(0, 0, 0, 0);
    stackColumn->setSpacing(0);
    const auto group = [&](const QString &name, THeaderBar *&header, QPushButton *&button, TValueListEditor *&editor,
                           const QStringList &keys) {
        header = new THeaderBar(QStringLiteral("      ") + name, stack);
        button = header->foldButton();
        editor = new TValueListEditor(stack);
        for (const QString &k : keys)
            editor->rows()->appendRow(k);
        editor->setFixedHeight(18 * static_cast<int>(keys.size()));
        stackColumn->addWidget(header);
        stackColumn->addWidget(editor);
    };
    group(QStringLiteral("Output"), panOutput, btnOutput, vleOutput,
          {QStringLiteral("New Filename"), QStringLiteral("Start Time"), QStringLiteral("End Time")});
    group(QStringLiteral("Video"), panVideo, btnVideo, vleVideo,
          {QStringLiteral("Video Codec"), QStringLiteral("Video Size"), QStringLiteral("Bit Rate"),
           QStringLiteral("Frame Rate"), QStringLiteral("Aspect"), QStringLiteral("Disable Video")});
    group(QStringLiteral("Audio"), panAudio, btnAudio, vleAudio,
          {QStringLiteral("Audio Codec"), QStringLiteral("Audio Bitrate"), QStringLiteral("Sample Rate"),
           QStringLiteral("Channels"), QStringLiteral("Volumn"), QStringLiteral("Disable Audio")});
    group(QStringLiteral("Advanced"), panAdvanced, btnAdvanced, vleAdvanced,
          {QStringLiteral("Bit Exact Algorithms"), QStringLiteral("Deinterlace")});
    stackColumn->addStretch(1);
    sbxProfile->setWidget(stack);
    groupColumn->addWidget(sbxProfile);
    topRow->addWidget(gpbProfile, 1);
    panRight = new QWidget(top);
    panRight->setFixedWidth(10);
    topRow->addWidget(panRight);

    panPreview = new QWidget(Splitter1);
    panPreview->setMinimumHeight(40);
    Splitter1->addWidget(top);
    Splitter1->addWidget(panPreview);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);
    Splitter1->setSizes({300, 177});
    CreatePreviewPane();
}

void TMainForm::connectHandlers()
{
    connect(panSplitter, &TSplitterBar::dragged, this, &TMainForm::panSplitterMouseMove);
    connect(btnOutput, &QPushButton::clicked, this, &TMainForm::btnOutputClick);
    connect(btnVideo, &QPushButton::clicked, this, &TMainForm::btnVideoClick);
    connect(btnAudio, &QPushButton::clicked, this, &TMainForm::btnAudioClick);
    connect(btnAdvanced, &QPushButton::clicked, this, &TMainForm::btnAdvancedClick);
    connect(panOutput, &THeaderBar::doubleClicked, this, &TMainForm::btnOutputClick);
    connect(panVideo, &THeaderBar::doubleClicked, this, &TMainForm::btnVideoClick);
    connect(panAudio, &THeaderBar::doubleClicked, this, &TMainForm::btnAudioClick);
    connect(panAdvanced, &THeaderBar::doubleClicked, this, &TMainForm::btnAdvancedClick);
    connect(bbtnBrowser, &QPushButton::clicked, this, &TMainForm::bbtnBrowserClick);
    connect(bbtnOpen, &QPushButton::clicked, this, &TMainForm::bbtnOpenClick);
    connect(tbtnHelp, &QToolButton::clicked, this, &TMainForm::tbtnHelpClick);
    connect(tbtnAddFile, &QToolButton::clicked, this, &TMainForm::tbtnAddFileClick);
    connect(tbtnAddDir, &QToolButton::clicked, this, &TMainForm::tbtnAddDirClick);
    connect(tbtnUp, &QToolButton::clicked, this, &TMainForm::tbtnUpClick);
    connect(tbtnDown, &QToolButton::clicked, this, &TMainForm::tbtnDownClick);
    connect(tbtnRemove, &QToolButton::clicked, this, &TMainForm::tbtnRemoveClick);
    connect(tbtnClear, &QToolButton::clicked, this, &TMainForm::tbtnClearClick);
    connect(tbtnStart, &QToolButton::clicked, this, &TMainForm::tbtnStartClick);
    connect(tbtnStop, &QToolButton::clicked, this, &TMainForm::tbtnStopClick);
    connect(tbtnSetting, &QToolButton::clicked, this, &TMainForm::tbtnSettingClick);
    connect(tbtnAbout, &QToolButton::clicked, this, &TMainForm::tbtnAboutClick);
    connect(bbtnSetting, &QPushButton::clicked, this, &TMainForm::bbtnSettingClick);
    connect(cmbProfile, qOverload<int>(&QComboBox::activated), this, [this](int) { cmbProfileChange(); });
    connect(timerTime, &QTimer::timeout, this, &TMainForm::timerTimeTimer);
    connectTaskHandlers();
}

void TMainForm::FormCreate()
{
    // 1-3: the program directory, the output folder and the encoder beside the program.
    edtOutputdir->setText(AppDir);
    EncoderPath = AppDir + QStringLiteral("wmaspi.dll");
    // 4: header colour of the task list.
    ltvTask->header()->setStyleSheet(QStringLiteral("QHeaderView::section { background-color: rgb(243, 243, 243); }"));
    // 5: the version, through the store (which rewrites the file).
    QString versionError;
    VersionText = ReadVersionText(AppDir, &versionError);
    // 6-8: product texts, help file, titles.
    HelpFile = AppDir + Product::HelpFileName;
    QApplication::setApplicationDisplayName(QString());
    QApplication::setApplicationName(Product::Name);
    setWindowTitle(Product::Name + QLatin1Char(' ') + QLatin1Char('V') + VersionText);
    // 9: supported extensions, folder mask and the open dialog's filter.
    InputExts = DefaultInputExts();
    FolderMask = BuildFolderMask(InputExts);
    OpenFilter = BuildOpenFilter(InputExts);
    // 10: the profile chooser, nothing chosen yet.
    for (const QString &name : ListFilesByExt(AppDir + QStringLiteral("Profiles/"), QStringLiteral(".apf")))
        cmbProfile->addItem(StripExtension(name));
    cmbProfile->setCurrentIndex(-1);
    // 11: the command line.
    CommandLine = CommandLinePaths(CommandLine, &CommandLineError);
    CommandLineIntake();
    // 12: the list commands.
    EnableListCommandsIfAny();
    // 13: drops are taken by dragEnterEvent / dropEvent.
    // 14: the bottom row: the progress panel shows only during a run.
    panBottomCenter->setFixedWidth(607);
    panBottomLeft->setFixedWidth(607);
    panBottomLeft->hide();
    // 15: column widths.
    const int widths[] = {260, 90, 80, 100};
    for (int c = 0; c < 4; ++c)
        ltvTask->setColumnWidth(c, widths[c]);
    // The list remembers its width from its first layout on (see ltvTaskResize).
    ltvTaskRememberedWidth = -1;
}

void TMainForm::EnableListCommandsIfAny()
{
    if (Tasks.count() > 0)
        SetListCommandsEnabled(true);
}

void TMainForm::SetListCommandsEnabled(bool enabled)
{
    for (QToolButton *b : {tbtnUp, tbtnDown, tbtnRemove, tbtnClear, tbtnStart})
        b->setEnabled(enabled);
}

void TMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        FormShow();
    }
}

void TMainForm::FormShow() { LoadPreferences(); }

void TMainForm::FormClose() { SavePreferences(); }

void TMainForm::closeEvent(QCloseEvent *event)
{
    StopRunBeforeClose();
    FormClose();
    QMainWindow::closeEvent(event);
}

void TMainForm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ltvTask && event->type() == QEvent::Resize)
        ltvTaskResize();
    // The bottom row follows the main area also when the splitter bar changes its width.
    if (watched == panMain && event->type() == QEvent::Resize)
        FormResize();
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::FormResize()
{
    // Widths are held at 0 at the least: a very narrow window cannot take negative sizes.
    const auto fixWidth = [](QWidget *widget, int px) { widget->setFixedWidth(std::max(0, px)); };
    const int w = panMain->width();
    fixWidth(panBottomCenter, w);
    fixWidth(panBottomLeft, w);
    bbtnSetting->move(w - 90, bbtnSetting->y());
    fixWidth(cmbProfile, bbtnSetting->x() - 83);
    bbtnOpen->move(w - 90, bbtnOpen->y());
    bbtnBrowser->move(bbtnOpen->x() - 85, bbtnBrowser->y());
    fixWidth(edtOutputdir, bbtnBrowser->x() - 83);
    labCurProgress->move(w - 27, labCurProgress->y());
    fixWidth(pgbCurrent, labCurProgress->x() - 123);
    labTotalProgress->move(w - 27, labTotalProgress->y());
    fixWidth(pgbTotal, labTotalProgress->x() - 123);
}

void TMainForm::ltvTaskResize()
{
    const int current = ltvTask->width();
    if (ltvTaskRememberedWidth < 0 || !ltvTask->isVisible()) {
        // Laying the window out for the first time: the columns keep their set widths.
        ltvTaskRememberedWidth = current;
        return;
    }
    const int d = current - ltvTaskRememberedWidth;
    ltvTaskRememberedWidth = current;
    if (d == 0)
        return;
    const double shares[] = {0.49, 0.17, 0.15, 0.19};
    for (int c = 0; c < 4; ++c)
        ltvTask->setColumnWidth(c, ltvTask->columnWidth(c) + static_cast<int>(std::nearbyint(d * shares[c])));
}

void TMainForm::panSplitterMouseMove(int x, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    if (buttons != Qt::LeftButton || (modifiers & Qt::ShiftModifier) || x == 0)
        return;
    // The pane is kept within the window: at least 20 pixels, and the main area at least 20.
    const int maxWidth = std::max(20, centralWidget()->width() - panSplitter->width() - 20);
    const int width = std::clamp(panProfile->width() - x + 5, 20, maxWidth);
    panProfile->setFixedWidth(width);
}

void TMainForm::fold(QPushButton *button, TValueListEditor *editor)
{
    if (button->text() == QLatin1String("+")) {
        const int r = editor->rows()->shownRowCount();
        editor->setFixedHeight(r * EditorRows::RowHeight + r + 1);
        button->setText(QStringLiteral("-"));
    } else {
        editor->setFixedHeight(1);
        button->setText(QStringLiteral("+"));
    }
}

void TMainForm::btnOutputClick() { fold(btnOutput, vleOutput); }
void TMainForm::btnVideoClick() { fold(btnVideo, vleVideo); }
void TMainForm::btnAudioClick() { fold(btnAudio, vleAudio); }
void TMainForm::btnAdvancedClick() { fold(btnAdvanced, vleAdvanced); }

void TMainForm::bbtnBrowserClick()
{
    QString folder;
    if (BrowseForFolder(this, QStringLiteral("Select the output directory."), QString(), folder))
        edtOutputdir->setText(AddTrailingBackslash(folder));
}

void TMainForm::bbtnOpenClick()
{
    const QString dir = edtOutputdir->text();
    if (!dir.isEmpty() && QFileInfo(dir).isDir())
        QDesktopServices::openUrl(QUrl::fromLocalFile(dir));
}

void TMainForm::tbtnHelpClick() { QDesktopServices::openUrl(QUrl::fromLocalFile(HelpFile)); }

void TMainForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls() && ltvTask->isEnabled())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent *event)
{
    QStringList paths;
    for (const QUrl &url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    event->acceptProposedAction();
    DropPaths(paths);
}
