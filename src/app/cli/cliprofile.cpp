#include "app/cli/cliprofile.h"

#include "app/cli/clioptions.h"
#include "shell/strconv.h"

#include <QRegularExpression>

namespace {
const QString VideoSize = QStringLiteral("Video Size");
const QString CustomSize = QStringLiteral("Custom Size");

// A custom video size: two positive whole numbers joined by "x".
bool IsCustomSize(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]+)x([0-9]+)$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return false;
    const auto w = StrToIntStrict(m.captured(1));
    const auto h = StrToIntStrict(m.captured(2));
    return w && h && *w > 0 && *h > 0;
}

QString Choices(const EditorRows::Row &row)
{
    return row.items.join(QStringLiteral(" | "));
}
}  // namespace

QString ChooseProfileName(const QStringList &names, const std::optional<QString> &given, int storedPosition)
{
    if (given) {
        if (names.contains(*given))
            return *given;
        QStringList folded;
        for (const QString &n : names) {
            if (n.compare(*given, Qt::CaseInsensitive) == 0)
                folded.append(n);
        }
        if (folded.size() == 1)
            return folded.first();
        throw CliUsageError(
            QStringLiteral("There is no profile \"%1\" (--list-profiles shows the profiles).").arg(*given));
    }
    if (names.isEmpty())
        throw CliUsageError(QStringLiteral("There is no profile in the program's Profiles folder."));
    return storedPosition >= 0 && storedPosition < names.size() ? names[storedPosition] : names.first();
}

void CliProfile::load(const QString &appDir, const QString &profileName)
{
    name = profileName;
    path = ProfilePath(appDir, profileName);
    outputExt.clear();
    try {
        ::LoadProfileIntoEditors(path, editors(), &outputExt, false);
    } catch (const AppError &e) {
        throw AppError(QStringLiteral("profile \"%1\" cannot be read: %2").arg(name, e.text()));
    }
}

void CliProfile::applySetting(const QString &setting)
{
    const int eq = setting.indexOf(QLatin1Char('='));
    const QString key = setting.left(eq).trimmed();
    const QString value = setting.mid(eq + 1);
    for (EditorRows *rows : {&video, &audio, &advanced}) {
        const int i = rows->findRow(key);
        if (i < 0)
            continue;
        const EditorRows::Row &row = rows->row(i);
        if (row.pickList) {
            // The window asks for a size when "Custom Size" is picked in the video editor's
            // "Video Size" row.
            const bool sizeRow = rows == &video && row.key.compare(VideoSize, Qt::CaseInsensitive) == 0
                                 && row.items.contains(CustomSize);
            if (sizeRow && IsCustomSize(value)) {
                rows->setValueAt(i, value);
                return;
            }
            for (const QString &item : row.items) {
                if (item.compare(value, Qt::CaseInsensitive) != 0)
                    continue;
                if (sizeRow && item == CustomSize)
                    throw CliUsageError(QStringLiteral("--set \"%1\": give the size itself, such as 320x240.")
                                            .arg(setting));
                rows->setValueAt(i, item);
                return;
            }
            QStringList items = row.items;
            if (sizeRow)
                items.removeAll(CustomSize);
            QString choices = items.join(QStringLiteral(" | "));
            if (sizeRow)
                choices += QStringLiteral(", or a size such as 320x240");
            throw CliUsageError(QStringLiteral("--set \"%1\": \"%2\" is not a choice of \"%3\" in \"%4\" (%5).")
                                    .arg(setting, value, row.key, name, choices));
        }
        if (row.readOnly)
            throw CliUsageError(QStringLiteral("--set \"%1\": \"%2\" is fixed in \"%3\".").arg(setting, row.key, name));
        rows->setValueAt(i, value);
        return;
    }
    throw CliUsageError(QStringLiteral("--set \"%1\": \"%2\" has no parameter \"%3\" (--list-profiles shows them).")
                            .arg(setting, name, key));
}

QString CliProfile::encoderOptions()
{
    QString options;
    try {
        ::BuildEncoderOptions(path, editors(), options, false);
    } catch (const AppError &e) {
        throw AppError(QStringLiteral("profile \"%1\" cannot be used: %2").arg(name, e.text()));
    }
    return options;
}

QString CliProfile::describe() const
{
    QString text = name + QLatin1Char('\n');
    text += QStringLiteral("  Output type: %1\n").arg(outputExt.mid(1));
    const std::pair<const char *, const EditorRows *> groups[] = {{"Video", &video}, {"Audio", &audio},
                                                                  {"Advanced", &advanced}};
    for (const auto &[title, rows] : groups) {
        if (rows->rowCount() == 0)
            continue;
        text += QStringLiteral("  %1\n").arg(QLatin1String(title));
        for (const EditorRows::Row &row : rows->rows()) {
            QString choices;
            if (row.pickList) {
                choices = Choices(row);
                if (rows == &video && row.key.compare(VideoSize, Qt::CaseInsensitive) == 0
                    && row.items.contains(CustomSize))
                    choices += QStringLiteral(" (WIDTHxHEIGHT)");
            } else {
                choices = row.readOnly ? QStringLiteral("fixed") : QStringLiteral("any text");
            }
            text += QStringLiteral("    %1: %2 [%3]\n").arg(row.key, row.value, choices);
        }
    }
    return text;
}
