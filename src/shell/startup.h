#pragma once
// Start-up values of the main window that need no window: supported extensions, the
// folder mask, the open dialog's filter, the version and the command-line path list.
#include <QString>
#include <QStringList>

// ".avi", ".mpg", ".mpeg", ".mp4", ".wmv", ".mov", ".vob", ".asf"
QStringList DefaultInputExts();
// "*" + ext + ";" for each extension, joined.
QString BuildFolderMask(const QStringList &exts);
// The open dialog's filter: description|pattern pairs joined with "|".
QString BuildOpenFilter(const QStringList &exts);
// The same filter as the name filters a Qt file dialog takes, pair by pair.
QStringList OpenFilterToNameFilters(const QString &filter);

// [Main] "Version" of AppDir + "Preferences.ini" through the store (which rewrites the
// file, creating an empty one when it is missing). Errors reading or writing the file
// leave the default and are returned in *error.
QString ReadVersionText(const QString &appDir, QString *error = nullptr);

// The command line's path list: when the first argument ends in ".tmp" (any case) its
// lines (ended by CR LF, CR or LF, not trimmed) and nothing else; otherwise the
// arguments. A ".tmp" list that cannot be read gives no paths and sets *error.
QStringList CommandLinePaths(const QStringList &args, QString *error = nullptr);
