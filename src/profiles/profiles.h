#pragma once
// Profiles: the catalogue, loading a profile into the three editors, writing the user's
// choices back, and building the encoder options from a profile and the editors.
#include "profiles/editorrows.h"

#include <QString>
#include <QStringList>

// The three profile editors, by the profile's "Sort" codes 1, 2 and 3.
struct ProfileEditors
{
    EditorRows *video = nullptr;
    EditorRows *audio = nullptr;
    EditorRows *advanced = nullptr;
    EditorRows *bySort(int sort) const
    {
        return sort == 1 ? video : sort == 2 ? audio : sort == 3 ? advanced : nullptr;
    }
};

// The rows the profile editors show before any profile is loaded.
inline QStringList DefaultVideoKeys()
{
    return {QStringLiteral("Video Codec"), QStringLiteral("Video Size"), QStringLiteral("Bit Rate"),
            QStringLiteral("Frame Rate"),  QStringLiteral("Aspect"),     QStringLiteral("Disable Video")};
}
inline QStringList DefaultAudioKeys()
{
    return {QStringLiteral("Audio Codec"), QStringLiteral("Audio Bitrate"), QStringLiteral("Sample Rate"),
            QStringLiteral("Channels"),    QStringLiteral("Volumn"),        QStringLiteral("Disable Audio")};
}
inline QStringList DefaultAdvancedKeys() { return {QStringLiteral("Bit Exact Algorithms"), QStringLiteral("Deinterlace")}; }

// File names (no folder) in the folder whose extension, A-Z lower-cased, equals ext
// (given with its dot), in listing order; folders are skipped.
QStringList ListFilesByExt(const QString &folder, const QString &ext);

// The profile catalogue of a program directory (appDir ends in "/"): the ".apf" files of
// its "Profiles/" folder in ListFilesByExt's order, named without the extension, as the
// profile choosers show them.
QStringList ProfileNames(const QString &appDir);
// The file of the profile a chooser shows as name.
QString ProfilePath(const QString &appDir, const QString &name);

// Items of a comma-terminated list: "a,b,c," gives a, b, c; text after the last comma is dropped.
QStringList SplitCommaList(const QString &text);

// Fills the editors from the profile at path and sets *outputExt ("." + Type) when
// outputExt is given. Nothing happens when the file does not exist. Raises
// ListIndexError for an Index outside its caption list (the rows made so far remain).
// With rewrite, the store's release rewrites the file (and may raise FileError).
void LoadProfileIntoEditors(const QString &path, const ProfileEditors &editors, QString *outputExt,
                            bool rewrite = true);

// Writes the user's choices held in the editors into the profile at path.
void SaveEditorsToProfile(const QString &path, const ProfileEditors &editors);

// Copies source over target, then writes the editors into the copy. Nothing happens
// when source does not exist.
void SaveProfileAs(const QString &source, const QString &target, const ProfileEditors &editors);

// Appends the options of the profile at path and the editors' current choices to
// options. Raises ListIndexError when a pick has no value item.
void BuildEncoderOptions(const QString &path, const ProfileEditors &editors, QString &options, bool rewrite = true);
