#include "tasks/taskrecord.h"

QString AddTrailingBackslash(const QString &path)
{
    if (path.endsWith(QLatin1Char('/')))
        return path;
    return path + QLatin1Char('/');
}

QString StripExtension(const QString &name)
{
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

QString ExtractFileName(const QString &path)
{
    const int cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char(':')));
    return path.mid(cut + 1);
}

QString ExtractFileExt(const QString &path)
{
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

QString LowerAscii(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() - 'A' + 'a');
    }
    return out;
}

bool HasSupportedExt(const QString &path, const QStringList &exts)
{
    const QString ext = LowerAscii(ExtractFileExt(path));
    for (const QString &e : exts) {
        if (ext == e)
            return true;
    }
    return false;
}
