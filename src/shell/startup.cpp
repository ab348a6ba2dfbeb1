#include "shell/startup.h"

#include "profiles/newinifile.h"
#include "shell/apperror.h"
#include "shell/product.h"
#include "tasks/taskrecord.h"

#include <QFile>

QStringList DefaultInputExts()
{
    return {QStringLiteral(".avi"), QStringLiteral(".mpg"), QStringLiteral(".mpeg"), QStringLiteral(".mp4"),
            QStringLiteral(".wmv"), QStringLiteral(".mov"), QStringLiteral(".vob"), QStringLiteral(".asf")};
}

QString BuildFolderMask(const QStringList &exts)
{
    QString mask;
    for (const QString &e : exts)
        mask += QLatin1Char('*') + e + QLatin1Char(';');
    return mask;
}

QString BuildOpenFilter(const QStringList &exts)
{
    const QString mask = BuildFolderMask(exts);
    QString filter = QStringLiteral("All Support Files(") + mask + QStringLiteral(")|") + mask;
    for (const QString &e : exts)
        filter += QLatin1Char('|') + e.mid(1).toUpper() + QStringLiteral(" Files (*") + e + QStringLiteral(")|*") + e;
    filter += QStringLiteral("|All Files (*.*)|*.*");
    return filter;
}

QStringList OpenFilterToNameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        // "*.*" means every file here, names without a dot included.
        for (QString &p : patterns) {
            if (p == QLatin1String("*.*"))
                p = QStringLiteral("*");
        }
        out.append(parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
    }
    return out;
}

QString ReadVersionText(const QString &appDir, QString *error)
{
    QString version = Product::DefaultVersion;
    try {
        TNewInifile *store = new TNewInifile(appDir + QStringLiteral("Preferences.ini"));
        version = store->ReadString(QStringLiteral("Main"), QStringLiteral("Version"), Product::DefaultVersion);
        SaveAndFree(store);
    } catch (const AppError &e) {
        if (error)
            *error = e.text();
    }
    return version;
}

QStringList CommandLinePaths(const QStringList &args, QString *error)
{
    const QString a1 = args.value(0);
    if (LowerAscii(ExtractFileExt(a1)) != QLatin1String(".tmp"))
        return args;
    QFile file(a1);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot open file \"%1\". %2").arg(a1, file.errorString());
        return {};
    }
    QStringList paths;
    const QByteArray text = file.readAll();
    // The same line rule as the INI store, without its stop at a NUL byte.
    int start = 0;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            paths.append(QString::fromUtf8(text.mid(start, i - start)));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < text.size())
        paths.append(QString::fromUtf8(text.mid(start)));
    return paths;
}
