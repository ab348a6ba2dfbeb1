#include "profiles/newinifile.h"

#include "shell/apperror.h"
#include "shell/strconv.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <memory>

QByteArray FoldAscii(const QByteArray &text)
{
    QByteArray out = text;
    for (char &c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

QList<QByteArray> TNewInifile::SplitLines(const QByteArray &text)
{
    QList<QByteArray> lines;
    const int nul = text.indexOf('\0');
    const int n = nul >= 0 ? nul : text.size();
    int start = 0;
    int i = 0;
    while (i < n) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.append(text.mid(start, i - start));
            if (c == '\r' && i + 1 < n && text[i + 1] == '\n')
                ++i;
            ++i;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < n)
        lines.append(text.mid(start, n - start));
    return lines;
}

TNewInifile::TNewInifile(const QString &fileName) : m_fileName(fileName)
{
    QFileInfo info(fileName);
    if (!info.exists() || info.isDir())
        return;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, file.errorString()));
    m_lines = SplitLines(file.readAll());
}

QByteArray TNewInifile::WholeText() const
{
    QByteArray text;
    for (const QByteArray &line : m_lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

QByteArray TNewInifile::GetSectionText(const QByteArray &section) const
{
    const QByteArray text = WholeText();
    const QByteArray header = FoldAscii("[" + section + "]");
    const int at = FoldAscii(text).indexOf(header);
    if (at < 0)
        return QByteArray();
    QByteArray rest = text.mid(at + header.size());
    const int bracket = rest.indexOf('[');
    if (bracket >= 0)
        rest.truncate(bracket);
    return rest;
}

QByteArray TNewInifile::FindKeyValue(const QByteArray &key, const QList<QByteArray> &lines, const QByteArray &def)
{
    const QByteArray needle = FoldAscii(key + "=");
    for (const QByteArray &line : lines) {
        const int p = FoldAscii(line).indexOf(needle);
        if (p >= 0)
            return line.mid(p + needle.size());
    }
    return def;
}

int TNewInifile::FindSectionLine(const QByteArray &section) const
{
    const QByteArray header = FoldAscii("[" + section + "]");
    for (int i = 0; i < m_lines.size(); ++i) {
        if (FoldAscii(m_lines[i]).contains(header))
            return i;
    }
    return -1;
}

int TNewInifile::FindKeyLine(const QByteArray &section, const QByteArray &key) const
{
    const QList<QByteArray> lines = SplitLines(GetSectionText(section));
    const QByteArray needle = FoldAscii(key + "=");
    for (int i = 0; i < lines.size(); ++i) {
        if (FoldAscii(lines[i]).contains(needle))
            return i;
    }
    return -1;
}

QByteArray TNewInifile::ReadString(const QByteArray &section, const QByteArray &key, const QByteArray &def) const
{
    return FindKeyValue(key, SplitLines(GetSectionText(section)), def);
}

int TNewInifile::ReadInteger(const QByteArray &section, const QByteArray &key, int def) const
{
    const auto v = StrToIntStrict(ReadString(section, key, QByteArray::number(def)));
    return v ? *v : def;
}

bool TNewInifile::ReadBool(const QByteArray &section, const QByteArray &key, bool def) const
{
    const QByteArray text = ReadString(section, key, QByteArray(def ? "-1" : "0"));
    if (const auto number = StrToFloatStrict(text))
        return *number != 0.0;
    const QByteArray folded = FoldAscii(text);
    if (folded == "true")
        return true;
    if (folded == "false")
        return false;
    return def;
}

double TNewInifile::ReadFloat(const QByteArray &section, const QByteArray &key, double def) const
{
    const auto v = StrToFloatStrict(ReadString(section, key, QByteArray::number(def, 'g', 17)));
    return v ? *v : def;
}

void TNewInifile::WriteString(const QByteArray &section, const QByteArray &key, const QByteArray &value)
{
    const QByteArray line = key + "=" + value;
    const int a = FindSectionLine(section);
    if (a < 0) {
        m_lines.append("[" + section + "]");
        m_lines.append(line);
        return;
    }
    const int k = FindKeyLine(section, key);
    if (k < 0)
        m_lines.insert(a + 1, line);
    else
        m_lines[a + k] = line;
}

void TNewInifile::WriteInteger(const QByteArray &section, const QByteArray &key, int value)
{
    WriteString(section, key, QByteArray::number(value));
}

void TNewInifile::WriteBool(const QByteArray &section, const QByteArray &key, bool value)
{
    WriteString(section, key, QByteArray(value ? "1" : "0"));
}

QString TNewInifile::ReadString(const QString &section, const QString &key, const QString &def) const
{
    return QString::fromUtf8(ReadString(section.toUtf8(), key.toUtf8(), def.toUtf8()));
}

int TNewInifile::ReadInteger(const QString &section, const QString &key, int def) const
{
    return ReadInteger(section.toUtf8(), key.toUtf8(), def);
}

bool TNewInifile::ReadBool(const QString &section, const QString &key, bool def) const
{
    return ReadBool(section.toUtf8(), key.toUtf8(), def);
}

double TNewInifile::ReadFloat(const QString &section, const QString &key, double def) const
{
    return ReadFloat(section.toUtf8(), key.toUtf8(), def);
}

void TNewInifile::WriteString(const QString &section, const QString &key, const QString &value)
{
    WriteString(section.toUtf8(), key.toUtf8(), value.toUtf8());
}

void TNewInifile::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteInteger(section.toUtf8(), key.toUtf8(), value);
}

void TNewInifile::WriteBool(const QString &section, const QString &key, bool value)
{
    WriteBool(section.toUtf8(), key.toUtf8(), value);
}

void TNewInifile::Save() const
{
    QSaveFile file(m_fileName);
    // Without this, QSaveFile writes in place when the folder is not writable and the
    // file is; a crash would then leave half a file.
    file.setDirectWriteFallback(false);
    const auto fail = [&](const QString &reason) {
        return FileError(QStringLiteral("Cannot create file \"%1\". %2").arg(m_fileName, reason));
    };
    // A file marked read-only stays as it is, even for a user (root) whom the system
    // would let write it: the rename below would otherwise replace it.
    const QFileInfo info(m_fileName);
    if (info.exists() && !info.isDir() && !(info.permissions() & QFileDevice::WriteOwner))
        throw fail(QStringLiteral("The file is read-only."));
    if (!file.open(QIODevice::WriteOnly))
        throw fail(file.errorString());
    const QByteArray text = WholeText();
    if (file.write(text) != text.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw fail(reason);
    }
    if (!file.commit())
        throw fail(file.errorString());
}

void SaveAndFree(TNewInifile *&store)
{
    if (!store)
        return;
    std::unique_ptr<TNewInifile> owned(store);
    store = nullptr;
    owned->Save();
}
