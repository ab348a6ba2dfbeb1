#pragma once
// The profile of a command-line run: chosen by name or by the preferences, loaded into
// editor rows as the window loads it (the file is only read), and changed by --set.
#include "profiles/editorrows.h"
#include "profiles/profiles.h"

#include <QString>
#include <QStringList>
#include <optional>

class CliProfile
{
public:
    QString name;
    QString path;
    QString outputExt;  // with its dot
    EditorRows video, audio, advanced;

    ProfileEditors editors() { return ProfileEditors{&video, &audio, &advanced}; }

    // Loads the profile file without writing to it. Raises AppError naming the profile
    // when the loader fails.
    void load(const QString &appDir, const QString &profileName);

    // "PARAMETER=VALUE" as if the user had picked that caption, or typed that text, in
    // the parameter's row; "Video Size" also takes WIDTHxHEIGHT, as the custom size dialog
    // gives it. Raises CliUsageError for an unknown parameter, a caption that is not in
    // the list, a bad size or a fixed parameter.
    void applySetting(const QString &setting);

    // The encoder options of the profile and the rows' current values (the file is only
    // read). Raises AppError naming the profile when they cannot be built.
    QString encoderOptions();

    // The profile as --list-profiles shows it: name, output type, and each parameter of
    // each editor with its value and its choices.
    QString describe() const;
};

// The profile a run uses: the given name as the chooser shows it (letter case ignored
// when that leaves a single profile), else the one at the preferences' chooser position,
// else the first. Raises CliUsageError for an unknown name or an empty catalogue.
QString ChooseProfileName(const QStringList &names, const std::optional<QString> &given, int storedPosition);
