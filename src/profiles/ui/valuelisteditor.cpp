#include "profiles/ui/valuelisteditor.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTimer>

EditorRowsModel::EditorRowsModel(EditorRows *rows, QObject *parent)
    : QAbstractTableModel(parent), m_rows(rows), m_count(rows->rowCount())
{
    connect(rows, &EditorRows::changed, this, &EditorRowsModel::reload);
}

void EditorRowsModel::reload()
{
    // A value change keeps the rows (and the view's current cell); a change of the number
    // of rows rebuilds the view.
    const int count = m_rows->rowCount();
    if (count == m_count) {
        Q_EMIT dataChanged(index(0, 0), index(m_rows->shownRowCount() - 1, 1));
        return;
    }
    beginResetModel();
    m_count = count;
    endResetModel();
}

int EditorRowsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows->shownRowCount();
}

int EditorRowsModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : 2; }

QVariant EditorRowsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows->rowCount())
        return QVariant();
    const EditorRows::Row &r = m_rows->row(index.row());
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return index.column() == 0 ? r.key : r.value;
    return QVariant();
}

bool EditorRowsModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || index.column() != 1 || index.row() >= m_rows->rowCount())
        return false;
    const EditorRows::Row &r = m_rows->row(index.row());
    const QString v = value.toString();
    if (r.pickList && !r.items.contains(v))
        return false;
    if (!r.pickList && r.readOnly)
        return false;
    if (v == r.value)
        return true;
    m_rows->setValueAt(index.row(), v);
    return true;
}

Qt::ItemFlags EditorRowsModel::flags(const QModelIndex &index) const
{
    if (!index.isValid() || index.column() == 0)
        return Qt::ItemIsEnabled;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.row() < m_rows->rowCount()) {
        const EditorRows::Row &r = m_rows->row(index.row());
        if (r.pickList || !r.readOnly)
            f |= Qt::ItemIsEditable;
    }
    return f;
}

namespace {

// The drop-down of a pick-list cell. Reports when its list closes, however it closes.
class PickListCombo : public QComboBox
{
    Q_OBJECT
public:
    explicit PickListCombo(QWidget *parent) : QComboBox(parent) { view()->window()->installEventFilter(this); }
    bool picked = false;
Q_SIGNALS:
    void listClosed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Hide && watched == view()->window())
            Q_EMIT listClosed();
        return QComboBox::eventFilter(watched, event);
    }
};

class RowsDelegate : public QStyledItemDelegate
{
public:
    RowsDelegate(TValueListEditor *view) : QStyledItemDelegate(view), m_view(view) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QWidget *editor = nullptr;
        const EditorRows *rows = m_view->rows();
        if (index.row() < rows->rowCount() && rows->row(index.row()).pickList) {
            auto *combo = new PickListCombo(parent);
            combo->addItems(rows->row(index.row()).items);
            auto *self = const_cast<RowsDelegate *>(this);
            connect(combo, qOverload<int>(&QComboBox::activated), combo, [self, combo](int) {
                if (combo->picked)
                    return;
                combo->picked = true;
                Q_EMIT self->commitData(combo);
                Q_EMIT self->closeEditor(combo, QAbstractItemDelegate::NoHint);
            });
            // Closing the list without a choice leaves the cell as it was. The choice, when
            // there is one, is reported right after the list closes, so wait for it.
            connect(combo, &PickListCombo::listClosed, combo, [self, combo] {
                QPointer<PickListCombo> guard(combo);
                QTimer::singleShot(0, self, [self, guard] {
                    if (guard && !guard->picked) {
                        guard->picked = true;
                        Q_EMIT self->closeEditor(guard, QAbstractItemDelegate::RevertModelCache);
                    }
                });
            });
            editor = combo;
        } else {
            editor = QStyledItemDelegate::createEditor(parent, option, index);
        }
        if (editor)
            editor->setProperty("editorRow", index.row());
        return editor;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            combo->setCurrentIndex(combo->findText(index.data(Qt::EditRole).toString(), Qt::MatchExactly));
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            if (combo->currentIndex() >= 0)
                model->setData(index, combo->currentText(), Qt::EditRole);
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const EditorRows *rows = m_view->rows();
        const int row = index.row();
        const bool hasRow = row < rows->rowCount();
        const QColor window = option.palette.color(QPalette::Base);
        const QColor text = option.palette.color(QPalette::Text);
        // The placeholder row of an empty editor has no flags: drawn as an editable plain row.
        const bool greyed = index.column() == 1 && hasRow && rows->row(row).readOnly && !rows->row(row).pickList;
        QColor font = greyed ? QColor(TValueListEditor::GreyText) : text;
        QColor background = window;
        const QModelIndex current = m_view->currentIndex();
        const bool currentRow = current.isValid() && current.row() == row;
        const bool focused = m_view->editorHasFocus();
        if (index.column() == 0 && currentRow && focused)
            background = QColor(TValueListEditor::CurrentKeyBlue);

        painter->save();
        painter->fillRect(option.rect, background);
        painter->setClipRect(option.rect);
        painter->setFont(option.font);
        painter->setPen(font);
        const QRect textRect = option.rect.adjusted(2, 2, 0, 0);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          index.data(Qt::DisplayRole).toString());
        // The drop-down button of the current pick-list cell.
        if (index.column() == 1 && currentRow && focused && hasRow && rows->row(row).pickList) {
            QStyleOptionButton button;
            button.rect = QRect(option.rect.right() - TValueListEditor::DropDownWidth + 1, option.rect.top(),
                                TValueListEditor::DropDownWidth, option.rect.height());
            button.palette = option.palette;
            button.state = QStyle::State_Enabled | QStyle::State_Raised;
            QStyle *style = m_view->style();
            style->drawControl(QStyle::CE_PushButtonBevel, &button, painter, m_view);
            QStyleOption arrow;
            arrow.rect = button.rect.adjusted(4, 5, -4, -5);
            arrow.palette = option.palette;
            arrow.state = QStyle::State_Enabled;
            style->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, painter, m_view);
        }
        painter->restore();
    }

private:
    TValueListEditor *m_view;
};

}  // namespace

TValueListEditor::TValueListEditor(QWidget *parent) : QTableView(parent), m_model(&m_rows)
{
    setModel(&m_model);
    setItemDelegate(new RowsDelegate(this));
    horizontalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(0);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(EditorRows::RowHeight + 1);
    setFrameShape(QFrame::NoFrame);
    setShowGrid(true);
    setWordWrap(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabKeyNavigation(false);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                    | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    connect(&m_rows, &EditorRows::heightChanged, this, [this](int px) { setFixedHeight(px); });
    connect(&m_model, &QAbstractItemModel::modelReset, this, &TValueListEditor::restoreCurrentCell);
    restoreCurrentCell();
}

void TValueListEditor::restoreCurrentCell()
{
    // Like any grid, the editor always has a current cell: after its rows were rebuilt it
    // stays on the same row where that row still exists, else on the first.
    const int shown = m_rows.shownRowCount();
    const int row = std::clamp(m_rows.currentRow(), 0, shown - 1);
    setCurrentIndex(m_model.index(row, 1));
}

bool TValueListEditor::isPickRow(int row) const
{
    return row >= 0 && row < m_rows.rowCount() && m_rows.row(row).pickList;
}

bool TValueListEditor::editorHasFocus() const
{
    // The open cell editor counts, and so does its drop-down list (a window of its own).
    for (const QWidget *w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        if (w == this)
            return true;
    }
    return false;
}

void TValueListEditor::setKeyColumnWidth(int px)
{
    m_keyWidth = px;
    setColumnWidth(0, px);
    setColumnWidth(1, std::max(0, viewport()->width() - m_keyWidth));
}

void TValueListEditor::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    setColumnWidth(0, m_keyWidth);
    setColumnWidth(1, std::max(0, viewport()->width() - m_keyWidth));
}

template <typename Handler> void TValueListEditor::onValueColumn(QMouseEvent *event, Handler handler)
{
    const QPointF pos = event->position();
    const int valueLeft = columnViewportPosition(1);
    if (pos.x() >= valueLeft || columnAt(static_cast<int>(pos.x())) != 0) {
        handler(event);
        return;
    }
    QMouseEvent moved(event->type(), QPointF(valueLeft + 1, pos.y()), event->scenePosition(),
                      event->globalPosition(), event->button(), event->buttons(), event->modifiers(),
                      event->pointingDevice());
    handler(&moved);
    event->setAccepted(moved.isAccepted());
}

void TValueListEditor::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex at = indexAt(event->position().toPoint());
    const bool onButton = at.isValid() && at.column() == 1 && isPickRow(at.row()) && event->button() == Qt::LeftButton
                          && event->position().x() > visualRect(at).right() - DropDownWidth;
    if (onButton) {
        setFocus(Qt::MouseFocusReason);
        openPickList(at.row());
        event->accept();
    } else {
        onValueColumn(event, [this](QMouseEvent *e) { QTableView::mousePressEvent(e); });
    }
    Q_EMIT mousePressed();
}

void TValueListEditor::mouseReleaseEvent(QMouseEvent *event)
{
    onValueColumn(event, [this](QMouseEvent *e) { QTableView::mouseReleaseEvent(e); });
}

void TValueListEditor::mouseDoubleClickEvent(QMouseEvent *event)
{
    onValueColumn(event, [this](QMouseEvent *e) { QTableView::mouseDoubleClickEvent(e); });
}

void TValueListEditor::mouseMoveEvent(QMouseEvent *event)
{
    onValueColumn(event, [this](QMouseEvent *e) { QTableView::mouseMoveEvent(e); });
}

void TValueListEditor::keyPressEvent(QKeyEvent *event)
{
    const int row = currentIndex().row();
    if (isPickRow(row) && state() != EditingState) {
        const bool altDown = (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up)
                             && (event->modifiers() & Qt::AltModifier);
        if (altDown || event->key() == Qt::Key_F4 || event->key() == Qt::Key_Return
            || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space) {
            openPickList(row);
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

void TValueListEditor::focusInEvent(QFocusEvent *event)
{
    QTableView::focusInEvent(event);
    viewport()->update();
}

void TValueListEditor::focusOutEvent(QFocusEvent *event)
{
    QTableView::focusOutEvent(event);
    viewport()->update();
}

void TValueListEditor::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    m_rows.setCurrentRow(current.isValid() && current.row() < m_rows.rowCount() ? current.row() : -1);
    viewport()->update();
}

QModelIndex TValueListEditor::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    // The key column is never current: moves go from row to row in the value column.
    const int last = m_model.rowCount() - 1;
    const int row = currentIndex().isValid() ? currentIndex().row() : 0;
    switch (cursorAction) {
    case MoveUp:
    case MovePrevious:
        return m_model.index(std::max(0, row - 1), 1);
    case MoveDown:
    case MoveNext:
        return m_model.index(std::min(last, row + 1), 1);
    case MoveHome:
        return m_model.index(0, 1);
    case MoveEnd:
        return m_model.index(last, 1);
    case MoveLeft:
    case MoveRight:
        return m_model.index(row, 1);
    default: {
        const QModelIndex to = QTableView::moveCursor(cursorAction, modifiers);
        return to.isValid() ? m_model.index(to.row(), 1) : to;
    }
    }
}

bool TValueListEditor::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    if (index.isValid() && isPickRow(index.row()) && !m_openingPick) {
        // A pick-list row never takes typed text: a double click steps, F2 opens the list.
        // Other requests (moving on with Tab from a text cell) leave the list closed.
        if (trigger == DoubleClicked) {
            stepPickList(index.row());
            return true;
        }
        if (trigger == EditKeyPressed) {
            openPickList(index.row());
            return true;
        }
        return false;
    }
    return QTableView::edit(index, trigger, event);
}

void TValueListEditor::openPickList(int row)
{
    if (!isPickRow(row) || m_rows.row(row).items.isEmpty())
        return;
    const QModelIndex index = m_model.index(row, 1);
    if (currentIndex() != index)
        setCurrentIndex(index);
    m_openingPick = true;
    const bool opened = QTableView::edit(index, AllEditTriggers, nullptr);
    m_openingPick = false;
    if (!opened)
        return;
    if (auto *combo = qobject_cast<QComboBox *>(indexWidget(index)))
        combo->showPopup();
}

void TValueListEditor::stepPickList(int row)
{
    if (!isPickRow(row) || m_rows.row(row).items.isEmpty())
        return;
    const EditorRows::Row &r = m_rows.row(row);
    int k = -1;
    for (int i = 0; i < r.items.size() && k < 0; ++i) {
        if (r.items[i].compare(r.value, Qt::CaseInsensitive) == 0)
            k = i;
    }
    const QString next = r.items[(k + 1) % r.items.size()];
    if (next == r.value)
        return;
    m_rows.setValueAt(row, next);
    Q_EMIT valueCommitted(row);
}

void TValueListEditor::commitData(QWidget *editor)
{
    bool ok = false;
    const int row = editor ? editor->property("editorRow").toInt(&ok) : -1;
    const bool known = ok && row >= 0 && row < m_rows.rowCount();
    const QString before = known ? m_rows.row(row).value : QString();
    const auto *line = qobject_cast<QLineEdit *>(editor);
    const bool typed = line && line->isModified();
    QTableView::commitData(editor);
    if (known && row < m_rows.rowCount() && (typed || m_rows.row(row).value != before))
        Q_EMIT valueCommitted(row);
}

#include "valuelisteditor.moc"
