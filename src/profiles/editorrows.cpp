#include "profiles/editorrows.h"

void EditorRows::clear()
{
    if (m_rows.isEmpty())
        return;
    m_rows.clear();
    m_current = -1;
    Q_EMIT changed();
}

int EditorRows::appendRow(const QString &key, const QString &value)
{
    Row r;
    r.key = key;
    r.value = value;
    m_rows.append(r);
    Q_EMIT changed();
    return m_rows.size() - 1;
}

int EditorRows::findRow(const QString &key) const
{
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].key.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString EditorRows::value(const QString &key) const
{
    const int i = findRow(key);
    return i < 0 ? QString() : m_rows[i].value;
}

void EditorRows::setValue(const QString &key, const QString &value)
{
    const int i = findRow(key);
    if (i < 0) {
        appendRow(key, value);
        return;
    }
    setValueAt(i, value);
}

void EditorRows::setValueAt(int row, const QString &value)
{
    m_rows[row].value = value;
    Q_EMIT changed();
}

void EditorRows::setReadOnly(const QString &key, bool readOnly)
{
    const int i = findRow(key);
    if (i >= 0)
        m_rows[i].readOnly = readOnly;
}

void EditorRows::setPickList(const QString &key, const QStringList &items)
{
    const int i = findRow(key);
    if (i >= 0) {
        m_rows[i].pickList = true;
        m_rows[i].items = items;
    }
}

QStringList EditorRows::pickItems(const QString &key) const
{
    const int i = findRow(key);
    return i < 0 ? QStringList() : m_rows[i].items;
}

void EditorRows::setHeight(int px)
{
    m_height = px;
    Q_EMIT heightChanged(px);
}
