#include "tasks/tasklist.h"

#include "tasks/timevalues.h"

TaskList::TaskList(QObject *parent) : QObject(parent), m_model(0, ColumnCount), m_selection(&m_model)
{
    m_model.setHorizontalHeaderLabels({QStringLiteral("Input File"), QStringLiteral("Length"),
                                       QStringLiteral("Size"), QStringLiteral("Status")});
}

QString TaskList::cell(int row, int code) const
{
    const QStandardItem *item = m_model.item(row, code + 1);
    return item ? item->text() : QString();
}

void TaskList::setCell(int row, int code, const QString &text)
{
    QStandardItem *item = m_model.item(row, code + 1);
    if (!item) {
        item = new QStandardItem;
        item->setEditable(false);
        m_model.setItem(row, code + 1, item);
    }
    item->setText(text);
}

void TaskList::ReadTaskRow(int row, int code, ltvItemData &r) const
{
    QString *texts[] = {&r.SourceFile, &r.Duration, &r.FrameSize, &r.Status, &r.NewName, &r.NewExt,
                        &r.FullStart, &r.FullEnd, &r.ClipLength, &r.StartTime, &r.EndTime};
    const auto derive = [&](int c) {
        switch (c) {
        case 0: r.DurationSecs = TimeToSeconds(r.Duration); break;
        case 5: r.FullStartSecs = TimeToSeconds(r.FullStart); break;
        case 6: r.FullEndSecs = TimeToSeconds(r.FullEnd); break;
        case 7: r.ClipLengthSecs = TimeToSeconds(r.ClipLength); break;
        case 8: r.StartSecs = TimeToSeconds(r.StartTime); break;
        case 9: r.EndSecs = TimeToSeconds(r.EndTime); break;
        default: break;
        }
    };
    if (code == ColAll) {
        for (int c = -1; c <= 9; ++c) {
            *texts[c + 1] = cell(row, c);
            derive(c);
        }
    } else if (code >= -1 && code <= 9) {
        *texts[code + 1] = cell(row, code);
        derive(code);
    }
}

void TaskList::WriteTaskRow(int row, int code, const ltvItemData &r)
{
    const QString *texts[] = {&r.SourceFile, &r.Duration, &r.FrameSize, &r.Status, &r.NewName, &r.NewExt,
                              &r.FullStart, &r.FullEnd, &r.ClipLength, &r.StartTime, &r.EndTime};
    if (code == ColAll) {
        for (int c = -1; c <= 9; ++c)
            setCell(row, c, *texts[c + 1]);
    } else if (code >= -1 && code <= 9) {
        setCell(row, code, *texts[code + 1]);
    }
}

int TaskList::appendRow(const QString &caption)
{
    QList<QStandardItem *> items;
    for (int c = 0; c < ColumnCount; ++c) {
        auto *item = new QStandardItem(c == 0 ? caption : QString());
        item->setEditable(false);
        items.append(item);
    }
    m_model.appendRow(items);
    return m_model.rowCount() - 1;
}

void TaskList::removeRow(int row) { m_model.removeRow(row); }

void TaskList::clear() { m_model.removeRows(0, m_model.rowCount()); }

bool TaskList::isSelected(int row) const { return m_selection.isRowSelected(row, QModelIndex()); }

void TaskList::setSelected(int row, bool selected)
{
    m_selection.select(m_model.index(row, 0), (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect)
                                                  | QItemSelectionModel::Rows);
}

QList<int> TaskList::selectedRows() const
{
    QList<int> rows;
    for (int r = 0; r < m_model.rowCount(); ++r) {
        if (isSelected(r))
            rows.append(r);
    }
    return rows;
}

int TaskList::firstSelectedRow() const
{
    for (int r = 0; r < m_model.rowCount(); ++r) {
        if (isSelected(r))
            return r;
    }
    return -1;
}
