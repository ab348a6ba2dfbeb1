#pragma once
// The task list's store: one model row per task, a caption and ten sub-items, all text.
// The window's list view shows this model; the batch run and the command line use it
// without any widget.
#include "tasks/taskrecord.h"

#include <QItemSelectionModel>
#include <QObject>
#include <QStandardItemModel>

class TaskList : public QObject
{
    Q_OBJECT
public:
    static constexpr int ColumnCount = 11;  // caption + sub-items 0..9
    static constexpr int VisibleColumns = 4;

    explicit TaskList(QObject *parent = nullptr);

    QStandardItemModel *model() { return &m_model; }
    QItemSelectionModel *selection() { return &m_selection; }

    int count() const { return m_model.rowCount(); }
    // Caption (column -1) or sub-item 0..9 of a row.
    QString cell(int row, int code) const;
    void setCell(int row, int code, const QString &text);

    void ReadTaskRow(int row, int code, ltvItemData &r) const;
    void WriteTaskRow(int row, int code, const ltvItemData &r);

    // Appends a row with the caption and ten empty sub-items; returns its index.
    int appendRow(const QString &caption);
    void removeRow(int row);
    void clear();

    bool isSelected(int row) const;
    void setSelected(int row, bool selected);
    QList<int> selectedRows() const;  // ascending
    int firstSelectedRow() const;     // -1 when none

private:
    QStandardItemModel m_model;
    QItemSelectionModel m_selection;
};
