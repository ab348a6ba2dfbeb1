#pragma once
// The task record and the small text routines shared across the program.
#include <QString>
#include <QStringList>

struct ltvItemData
{
    QString SourceFile;  // caption
    QString Duration;    // sub-item 0
    QString FrameSize;   // sub-item 1
    QString Status;      // sub-item 2
    QString NewName;     // sub-item 3
    QString NewExt;      // sub-item 4
    QString FullStart;   // sub-item 5
    QString FullEnd;     // sub-item 6
    QString ClipLength;  // sub-item 7
    QString StartTime;   // sub-item 8
    QString EndTime;     // sub-item 9
    double DurationSecs = 0;
    double FullStartSecs = 0;
    double FullEndSecs = 0;
    double ClipLengthSecs = 0;
    double StartSecs = 0;
    double EndSecs = 0;
};

// Column codes of ReadTaskRow / WriteTaskRow.
enum TaskColumnCode { ColAll = -2, ColCaption = -1 };

// The path separator of this platform is "/"; the name is kept from the program's history.
QString AddTrailingBackslash(const QString &path);
// The text before its last "."; the whole text when it has none.
QString StripExtension(const QString &name);
// The part after the last "/" (or ":").
QString ExtractFileName(const QString &path);
// The file name's extension with its dot ("" when the name has no "."), as stored.
QString ExtractFileExt(const QString &path);
// True when the path's extension, A-Z lower-cased, equals an entry of the list.
bool HasSupportedExt(const QString &path, const QStringList &exts);
// Folds only "A".."Z" to lower case.
QString LowerAscii(const QString &text);
