#pragma once
// TValueListEditor: a two-column key/value grid over EditorRows, without title row. Keys
// are fixed and the current cell is always a value cell. A pick-list row takes a value
// only from its list (the drop-down, or a double click that steps to the next item); a
// read-only plain row cannot change; an editable plain row takes typed text. Rows are 17
// pixels plus a 1-pixel grid line.
//
// Drawing: texts in the window text colour on the window colour, except that the value of
// a read-only plain row is grey, the current value cell is never highlighted, and the key
// cell of the current row is blue while the editor has the focus.
#include "profiles/editorrows.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QTableView>

class EditorRowsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit EditorRowsModel(EditorRows *rows, QObject *parent = nullptr);
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    // Takes a user's value: a pick-list row only one of its items, a read-only plain row nothing.
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    void reload();

private:
    EditorRows *m_rows;
    int m_count;  // rows at the last reload
};

class TValueListEditor : public QTableView
{
    Q_OBJECT
public:
    static constexpr QRgb GreyText = 0xC0C0C0;        // value of a read-only plain row
    static constexpr QRgb CurrentKeyBlue = 0x316AC5;  // key of the current row while focused
    static constexpr int DropDownWidth = 16;          // the drop-down button of a pick-list cell

    explicit TValueListEditor(QWidget *parent = nullptr);

    EditorRows *rows() { return &m_rows; }
    const EditorRows *rows() const { return &m_rows; }

    void setKeyColumnWidth(int px);
    int keyColumnWidth() const { return m_keyWidth; }

    // Short names used across the windows.
    QString value(const QString &key) const { return m_rows.value(key); }
    void setValue(const QString &key, const QString &v) { m_rows.setValue(key, v); }

    // The user's ways of changing a pick-list row: open its drop-down list (as a click on
    // the cell's button or F2 does), or step to the item after the current value, wrapping
    // to the first (as a double click does; a value not in the list steps to the first).
    void openPickList(int row);
    void stepPickList(int row);

    // True while the grid or its open cell editor has the keyboard focus.
    bool editorHasFocus() const;

Q_SIGNALS:
    // A value was changed by the user and the cell was left (the "validate" moment).
    void valueCommitted(int row);
    // A mouse button was pressed in the editor (after the editor moved its current cell).
    void mousePressed();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;

protected Q_SLOTS:
    void commitData(QWidget *editor) override;

private:
    bool isPickRow(int row) const;
    // Mouse events on a key cell act on the value cell of that row.
    template <typename Handler> void onValueColumn(QMouseEvent *event, Handler handler);
    void restoreCurrentCell();

    EditorRows m_rows;
    EditorRowsModel m_model;
    int m_keyWidth = 95;
    bool m_openingPick = false;
};
