#pragma once
// The preferences file "Preferences.ini" in the program directory: its keys, their
// defaults, and the orders in which they are read and written. The windows keep the
// live values in their controls; these routines only move values between a store and
// a plain struct, so that tools without windows can read the same file.
#include <QString>

class TNewInifile;

// The five general preferences and the output folder, as the settings dialog shows them.
struct GeneralSettings
{
    QString outputPath;     // "Output Path"
    int synMode = 0;        // "Syn Mode": 0 "Auto", 1 "Force Mode", 2 "Progressive Mode"
    bool openDir = true;    // "Auto Open Dir"
    bool exitApp = false;   // "Auto Exit"
    bool turnOff = false;   // "Auto Turn Off"
    bool overwrite = true;  // "Overwrite": false means the new output file is renamed
};

// Section names.
inline const QString PrefsMainSection = QStringLiteral("Main");
inline const QString PrefsDefaultSection = QStringLiteral("Default");

// appDir + "Preferences.ini" (appDir ends in "/").
QString PreferencesPath(const QString &appDir);

// The built-in values of a section: "Output Path" is appDir in both; "Auto Open Dir"
// is true in "Main" and false in "Default" (and any other section).
GeneralSettings DefaultGeneralSettings(const QString &section, const QString &appDir);

// Reads "Output Path", "Syn Mode", "Auto Open Dir", "Auto Exit", "Auto Turn Off" and
// "Overwrite" of the section, each falling back to the section's built-in value.
GeneralSettings ReadGeneralSettings(const TNewInifile &store, const QString &section, const QString &appDir);

// "Profile" of "Main": the chosen position in the profile chooser (default 0, -1 none).
int ReadProfilePosition(const TNewInifile &store);

// Writes "Main" as the main window does at exit, in this order: "Profile",
// "Output Path", "Syn Mode", "Auto Open Dir", "Auto Exit", "Auto Turn Off", "Overwrite".
void WritePreferences(TNewInifile &store, int profile, const GeneralSettings &s);

// Writes "Main" as the settings dialog's OK does: the same keys and order without "Profile".
void WriteSettings(TNewInifile &store, const GeneralSettings &s);

// Everything "Main" holds, for tools that read the preferences.
struct StoredPreferences
{
    QString version;      // "Version", default "3.0"
    int profile = 0;      // "Profile"
    GeneralSettings general;
};

// Reads "Main" of appDir's "Preferences.ini" and leaves the file exactly as it is (no
// rewrite; a missing file stays missing). Raises FileError when the file exists but
// cannot be read.
StoredPreferences ReadStoredPreferences(const QString &appDir);
