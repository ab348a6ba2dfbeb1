#pragma once
// One line per row: key=value, then " ro" for read-only and " {a|b}" for a pick list.
#include "profiles/editorrows.h"

#include <QStringList>

inline QString dump(const EditorRows &rows)
{
    QStringList out;
    for (const EditorRows::Row &r : rows.rows()) {
        QString line = r.key + QLatin1Char('=') + r.value;
        if (r.readOnly)
            line += QStringLiteral(" ro");
        if (r.pickList)
            line += QStringLiteral(" {") + r.items.join(QLatin1Char('|')) + QLatin1Char('}');
        out << line;
    }
    return out.join(QStringLiteral("; "));
}
