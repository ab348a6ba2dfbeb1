#include "shell/ui/folderpicker.h"

#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTimer>

bool BrowseForFolder(QWidget *owner, const QString &title, const QString &root, QString &folder)
{
    if (!folder.isEmpty() && !QFileInfo(folder).isDir())
        folder.clear();
    const QString start = !folder.isEmpty() ? folder : root;
    const QString chosen = QFileDialog::getExistingDirectory(owner, title, start, QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty())
        return false;
    folder = chosen;
    return true;
}

namespace {
constexpr int StemHeight = 10;
constexpr int Radius = 6;
constexpr int ShowMs = 8000;

// A rounded tooltip-coloured balloon whose stem points up at its anchor.
class TBalloonTip : public QWidget
{
public:
    TBalloonTip(QWidget *window, int icon, const QString &title, const QString &text)
        : QWidget(window, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput
                              | Qt::WindowDoesNotAcceptFocus),
          m_window(window)
    {
        setObjectName(QStringLiteral("BalloonTip"));
        setAttribute(Qt::WA_DeleteOnClose);
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setPalette(QToolTip_palette());
        auto *grid = new QGridLayout(this);
        grid->setContentsMargins(10, 6 + StemHeight, 10, 8);
        grid->setHorizontalSpacing(6);
        auto *iconLabel = new QLabel(this);
        iconLabel->setObjectName(QStringLiteral("icon"));
        const QStyle::StandardPixmap pixmaps[] = {QStyle::SP_MessageBoxInformation, QStyle::SP_MessageBoxInformation,
                                                  QStyle::SP_MessageBoxWarning, QStyle::SP_MessageBoxCritical};
        if (icon >= 1 && icon <= 3)
            iconLabel->setPixmap(style()->standardIcon(pixmaps[icon]).pixmap(16, 16));
        else
            iconLabel->hide();
        auto *titleLabel = new QLabel(title, this);
        titleLabel->setObjectName(QStringLiteral("title"));
        titleLabel->setTextFormat(Qt::PlainText);
        QFont bold = titleLabel->font();
        bold.setBold(true);
        titleLabel->setFont(bold);
        auto *textLabel = new QLabel(text, this);
        textLabel->setObjectName(QStringLiteral("text"));
        textLabel->setTextFormat(Qt::PlainText);
        grid->addWidget(iconLabel, 0, 0);
        grid->addWidget(titleLabel, 0, 1);
        grid->addWidget(textLabel, 1, 0, 1, 2);
        window->installEventFilter(this);
        QTimer::singleShot(ShowMs, this, &QWidget::close);
    }

    void showAt(const QPoint &anchor)
    {
        adjustSize();
        m_stemX = std::min(24, width() / 2);
        QPoint topLeft = anchor - QPoint(m_stemX, 0);
        if (const QScreen *screen = QApplication::screenAt(anchor)) {
            const QRect area = screen->availableGeometry();
            topLeft.setX(std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() - width())));
            m_stemX = std::clamp(anchor.x() - topLeft.x(), Radius + 6, std::max(Radius + 6, width() - Radius - 6));
        }
        move(topLeft);
        show();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && (event->type() == QEvent::Leave || event->type() == QEvent::Hide))
            close();
        return false;
    }

    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF body = QRectF(rect()).adjusted(0.5, StemHeight + 0.5, -0.5, -0.5);
        QPainterPath path;
        path.addRoundedRect(body, Radius, Radius);
        QPainterPath stem;
        stem.moveTo(m_stemX - 6, body.top() + 1);
        stem.lineTo(m_stemX, 0.5);
        stem.lineTo(m_stemX + 6, body.top() + 1);
        stem.closeSubpath();
        path = path.united(stem);
        p.setPen(QPen(palette().color(QPalette::ToolTipText), 1));
        p.setBrush(palette().color(QPalette::ToolTipBase));
        p.drawPath(path);
    }

private:
    static QPalette QToolTip_palette()
    {
        QPalette pal = QApplication::palette("QToolTip");
        pal.setColor(QPalette::WindowText, pal.color(QPalette::ToolTipText));
        return pal;
    }

    QPointer<QWidget> m_window;
    int m_stemX = 20;
};
}  // namespace

QWidget *ShowBalloonTip(QWidget *window, int icon, const QString &title, const QString &text)
{
    if (!window)
        return nullptr;
    for (QWidget *old : window->findChildren<QWidget *>(QStringLiteral("BalloonTip"), Qt::FindDirectChildrenOnly))
        old->close();
    auto *tip = new TBalloonTip(window, icon, title, text);
    const QPoint cursor = QCursor::pos();
    const QRect area(window->mapToGlobal(QPoint(0, 0)), window->size());
    tip->showAt(area.contains(cursor) ? cursor + QPoint(0, 4) : QPoint(area.center().x(), area.bottom()));
    return tip;
}
