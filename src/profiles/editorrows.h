#pragma once
// The rows of one key/value editor: key, value, read-only flag, plain or pick-list style
// and the pick-list items. The profile loader, the option builder and the writer work on
// these rows; the window's editor widget shows them. Rows are found by key without regard
// to case, the first row answering.
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

class EditorRows : public QObject
{
    Q_OBJECT
public:
    struct Row
    {
        QString key;
        QString value;
        bool readOnly = false;
        bool pickList = false;
        QStringList items;
    };

    static constexpr int RowHeight = 17;  // plus a 1-pixel grid line

    explicit EditorRows(QObject *parent = nullptr) : QObject(parent) {}

    int rowCount() const { return m_rows.size(); }
    // Rows shown: an editor without rows still shows one empty row.
    int shownRowCount() const { return m_rows.isEmpty() ? 1 : m_rows.size(); }
    const Row &row(int i) const { return m_rows[i]; }
    const QVector<Row> &rows() const { return m_rows; }

    void clear();
    int appendRow(const QString &key, const QString &value = QString());
    int findRow(const QString &key) const;  // -1 when no row has that key
    QString value(const QString &key) const;  // empty when no row has that key
    // Sets the first row with that key; appends a row when there is none.
    void setValue(const QString &key, const QString &value);
    void setValueAt(int row, const QString &value);
    void setReadOnly(const QString &key, bool readOnly);
    void setPickList(const QString &key, const QStringList &items);
    QStringList pickItems(const QString &key) const;

    // The editor's height in pixels as the profile loader and the fold buttons set it.
    int height() const { return m_height; }
    void setHeight(int px);

    // The row the user is on (-1 when none); the custom-size test looks at it.
    int currentRow() const { return m_current; }
    void setCurrentRow(int row) { m_current = row; }

Q_SIGNALS:
    void changed();  // any key or value set, by the program or the user
    void heightChanged(int px);

private:
    QVector<Row> m_rows;
    int m_height = 0;
    int m_current = -1;
};
