#include "profiles/ui/valuelisteditor.h"

#include <QComboBox>
#include <QHeaderView>
#include <QMouseEvent>
#include <QStyledItemDelegate>

EditorRowsModel::EditorRowsModel(EditorRows *rows, QObject *parent) : QAbstractTableModel(parent), m_rows(rows)
{
    connect(rows, &EditorRows::changed, this, &EditorRowsModel::reload);
}

void EditorRowsModel::reload()
{
    beginResetModel();
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
class PickListDelegate : public QStyledItemDelegate
{
public:
    PickListDelegate(EditorRows *rows, QObject *parent) : QStyledItemDelegate(parent), m_rows(rows) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (index.row() < m_rows->rowCount() && m_rows->row(index.row()).pickList) {
            auto *combo = new QComboBox(parent);
            combo->addItems(m_rows->row(index.row()).items);
            return combo;
        }
        return QStyledItemDelegate::createEditor(parent, option, index);
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

private:
    EditorRows *m_rows;
};
}  // namespace

TValueListEditor::TValueListEditor(QWidget *parent) : QTableView(parent), m_model(&m_rows)
{
    setModel(&m_model);
    setItemDelegate(new PickListDelegate(&m_rows, this));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(EditorRows::RowHeight + 1);
    setFrameShape(QFrame::NoFrame);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                    | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    connect(&m_rows, &EditorRows::heightChanged, this, [this](int px) { setFixedHeight(px); });
    connect(itemDelegate(), &QAbstractItemDelegate::commitData, this, [this](QWidget *) {
        if (currentIndex().isValid())
            Q_EMIT valueCommitted(currentIndex().row());
    });
}

void TValueListEditor::setKeyColumnWidth(int px)
{
    m_keyWidth = px;
    setColumnWidth(0, px);
}

void TValueListEditor::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    setColumnWidth(0, m_keyWidth);
    setColumnWidth(1, std::max(0, viewport()->width() - m_keyWidth));
}

void TValueListEditor::mousePressEvent(QMouseEvent *event)
{
    QTableView::mousePressEvent(event);
    Q_EMIT mousePressed();
}

void TValueListEditor::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    m_rows.setCurrentRow(current.isValid() ? current.row() : -1);
}
