#pragma once
// TValueListEditor: a two-column key/value grid over EditorRows. Keys are fixed; a
// pick-list row takes a value only from its list, a read-only plain row cannot change,
// an editable plain row takes typed text. Rows are 17 pixels plus a 1-pixel grid line.
#include "profiles/editorrows.h"

#include <QAbstractTableModel>
#include <QTableView>

class EditorRowsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit EditorRowsModel(EditorRows *rows, QObject *parent = nullptr);
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    void reload();

private:
    EditorRows *m_rows;
};

class TValueListEditor : public QTableView
{
    Q_OBJECT
public:
    explicit TValueListEditor(QWidget *parent = nullptr);

    EditorRows *rows() { return &m_rows; }
    const EditorRows *rows() const { return &m_rows; }

    void setKeyColumnWidth(int px);
    int keyColumnWidth() const { return m_keyWidth; }

    // Short names used across the windows.
    QString value(const QString &key) const { return m_rows.value(key); }
    void setValue(const QString &key, const QString &v) { m_rows.setValue(key, v); }

Q_SIGNALS:
    // A value was changed by the user and the cell was left (the "validate" moment).
    void valueCommitted(int row);
    void mousePressed();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    EditorRows m_rows;
    EditorRowsModel m_model;
    int m_keyWidth = 95;
};
