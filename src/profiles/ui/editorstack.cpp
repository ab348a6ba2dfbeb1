#include "profiles/ui/editorstack.h"

#include "profiles/ui/valuelisteditor.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

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

TEditorStack::TEditorStack(QWidget *parent) : QScrollArea(parent), m_column(new QWidget), m_layout(new QVBoxLayout(m_column))
{
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setBackgroundRole(QPalette::Window);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
}

TValueListEditor *TEditorStack::addGroup(const QString &name, const QStringList &keys, THeaderBar **header,
                                         int keyColumnWidth)
{
    *header = new THeaderBar(QStringLiteral("      ") + name, m_column);
    auto *editor = new TValueListEditor(m_column);
    editor->setKeyColumnWidth(keyColumnWidth);
    for (const QString &k : keys)
        editor->rows()->appendRow(k);
    editor->rows()->setHeight((EditorRows::RowHeight + 1) * editor->rows()->shownRowCount());
    m_layout->addWidget(*header);
    m_layout->addWidget(editor);
    return editor;
}

void TEditorStack::finish()
{
    m_layout->addStretch(1);
    setWidget(m_column);
}

void FoldEditor(QPushButton *button, TValueListEditor *editor)
{
    if (button->text() == QLatin1String("+")) {
        const int r = editor->rows()->shownRowCount();
        editor->rows()->setHeight(r * EditorRows::RowHeight + r + 1);
        button->setText(QStringLiteral("-"));
    } else {
        editor->rows()->setHeight(1);
        button->setText(QStringLiteral("+"));
    }
}
