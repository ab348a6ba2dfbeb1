#pragma once
// TNewInifile: the program's own reader and writer of INI text (preferences and
// profiles). The file is kept as a list of byte lines; sections and keys are found by
// substring search with only A-Z folded. Nothing is decoded, trimmed or reordered.
#include <QByteArray>
#include <QList>
#include <QString>

class TNewInifile
{
public:
    // Reads the file when it exists (a missing file gives an empty store). A file that
    // exists but cannot be read raises FileError naming the path and the reason.
    explicit TNewInifile(const QString &fileName);

    QString FileName() const { return m_fileName; }
    const QList<QByteArray> &Lines() const { return m_lines; }

    QByteArray ReadString(const QByteArray &section, const QByteArray &key, const QByteArray &def) const;
    int ReadInteger(const QByteArray &section, const QByteArray &key, int def) const;
    bool ReadBool(const QByteArray &section, const QByteArray &key, bool def) const;
    double ReadFloat(const QByteArray &section, const QByteArray &key, double def) const;
    void WriteString(const QByteArray &section, const QByteArray &key, const QByteArray &value);
    void WriteInteger(const QByteArray &section, const QByteArray &key, int value);
    void WriteBool(const QByteArray &section, const QByteArray &key, bool value);

    // Text (UTF-8) conveniences over the byte operations above.
    QString ReadString(const QString &section, const QString &key, const QString &def) const;
    int ReadInteger(const QString &section, const QString &key, int def) const;
    bool ReadBool(const QString &section, const QString &key, bool def) const;
    double ReadFloat(const QString &section, const QString &key, double def) const;
    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);
    void WriteBool(const QString &section, const QString &key, bool value);

    // Literal names read as bytes.
    QByteArray ReadString(const char *section, const char *key, const char *def) const
    {
        return ReadString(QByteArray(section), QByteArray(key), QByteArray(def));
    }
    int ReadInteger(const char *section, const char *key, int def) const
    {
        return ReadInteger(QByteArray(section), QByteArray(key), def);
    }
    bool ReadBool(const char *section, const char *key, bool def) const
    {
        return ReadBool(QByteArray(section), QByteArray(key), def);
    }
    void WriteString(const char *section, const char *key, const char *value)
    {
        WriteString(QByteArray(section), QByteArray(key), QByteArray(value));
    }
    void WriteInteger(const char *section, const char *key, int value)
    {
        WriteInteger(QByteArray(section), QByteArray(key), value);
    }
    void WriteBool(const char *section, const char *key, bool value)
    {
        WriteBool(QByteArray(section), QByteArray(key), value);
    }

    // The whole text: every line followed by CR LF.
    QByteArray WholeText() const;

    // Writes the whole text to the file, whole or not at all (a temporary file beside it,
    // then a rename). On failure raises FileError naming the path and the reason; the
    // old file is left as it was.
    void Save() const;

    // Splitting rule: lines end at CR LF, lone CR or lone LF; a trailing terminator
    // starts no extra line; splitting stops at the first NUL byte.
    static QList<QByteArray> SplitLines(const QByteArray &text);

    // Internal operations, public for the tests.
    QByteArray GetSectionText(const QByteArray &section) const;
    static QByteArray FindKeyValue(const QByteArray &key, const QList<QByteArray> &lines, const QByteArray &def);
    int FindSectionLine(const QByteArray &section) const;
    int FindKeyLine(const QByteArray &section, const QByteArray &key) const;

private:
    QString m_fileName;
    QList<QByteArray> m_lines;
};

// Writes the store's file and releases it: the store's end of life. A null store is
// ignored. The store is released even when the write fails (the FileError then reaches
// the caller).
void SaveAndFree(TNewInifile *&store);

// Folds "A".."Z" to lower case and leaves every other byte as it is.
QByteArray FoldAscii(const QByteArray &text);
