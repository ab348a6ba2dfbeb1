#include "profiles/profiles.h"

#include "tasks/taskrecord.h"

#include <QDir>

QStringList ListFilesByExt(const QString &folder, const QString &ext)
{
    const QString wanted = LowerAscii(ext);
    QStringList names;
    // The folder is listed in name order without regard to case, so the chooser (and the
    // position the preferences remember) stays the same from one start to the next.
    const QDir dir(folder);
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System
                                                        | QDir::NoDotAndDotDot,
                                                    QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &info : entries) {
        if (info.isDir())
            continue;
        const QString name = info.fileName();
        const int dot = name.lastIndexOf(QLatin1Char('.'));
        const QString e = dot < 0 ? QString() : name.mid(dot);
        if (LowerAscii(e) == wanted)
            names.append(name);
    }
    return names;
}

QStringList SplitCommaList(const QString &text)
{
    QStringList items = text.split(QLatin1Char(','));
    items.removeLast();  // the text after the last comma is not an item
    return items;
}

// Filled in by the profiles work.
void LoadProfileIntoEditors(const QString &, const ProfileEditors &, QString *, bool) {}
void SaveEditorsToProfile(const QString &, const ProfileEditors &) {}
void SaveProfileAs(const QString &, const QString &, const ProfileEditors &) {}
void BuildEncoderOptions(const QString &, const ProfileEditors &, QString &, bool) {}
