#include "settings/preferences.h"

#include "profiles/newinifile.h"
#include "shell/product.h"

namespace {
const QString kOutputPath = QStringLiteral("Output Path");
const QString kProfile = QStringLiteral("Profile");
const QString kSynMode = QStringLiteral("Syn Mode");
const QString kOpenDir = QStringLiteral("Auto Open Dir");
const QString kExit = QStringLiteral("Auto Exit");
const QString kTurnOff = QStringLiteral("Auto Turn Off");
const QString kOverwrite = QStringLiteral("Overwrite");

// Everything after "Output Path", shared by both writers.
void WriteModeAndActions(TNewInifile &store, const GeneralSettings &s)
{
    store.WriteInteger(PrefsMainSection, kSynMode, s.synMode);
    store.WriteBool(PrefsMainSection, kOpenDir, s.openDir);
    store.WriteBool(PrefsMainSection, kExit, s.exitApp);
    store.WriteBool(PrefsMainSection, kTurnOff, s.turnOff);
    store.WriteBool(PrefsMainSection, kOverwrite, s.overwrite);
}
}  // namespace

QString PreferencesPath(const QString &appDir) { return appDir + QStringLiteral("Preferences.ini"); }

GeneralSettings DefaultGeneralSettings(const QString &section, const QString &appDir)
{
    GeneralSettings s;
    s.outputPath = appDir;
    s.openDir = section == PrefsMainSection;
    return s;
}

GeneralSettings ReadGeneralSettings(const TNewInifile &store, const QString &section, const QString &appDir)
{
    const GeneralSettings def = DefaultGeneralSettings(section, appDir);
    GeneralSettings s;
    s.outputPath = store.ReadString(section, kOutputPath, def.outputPath);
    s.synMode = store.ReadInteger(section, kSynMode, def.synMode);
    s.openDir = store.ReadBool(section, kOpenDir, def.openDir);
    s.exitApp = store.ReadBool(section, kExit, def.exitApp);
    s.turnOff = store.ReadBool(section, kTurnOff, def.turnOff);
    s.overwrite = store.ReadBool(section, kOverwrite, def.overwrite);
    return s;
}

int ReadProfilePosition(const TNewInifile &store) { return store.ReadInteger(PrefsMainSection, kProfile, 0); }

void WritePreferences(TNewInifile &store, int profile, const GeneralSettings &s)
{
    store.WriteInteger(PrefsMainSection, kProfile, profile);
    store.WriteString(PrefsMainSection, kOutputPath, s.outputPath);
    WriteModeAndActions(store, s);
}

void WriteSettings(TNewInifile &store, const GeneralSettings &s)
{
    store.WriteString(PrefsMainSection, kOutputPath, s.outputPath);
    WriteModeAndActions(store, s);
}

StoredPreferences ReadStoredPreferences(const QString &appDir)
{
    // The store is only read and then dropped: nothing is written back.
    const TNewInifile store(PreferencesPath(appDir));
    StoredPreferences p;
    p.version = store.ReadString(PrefsMainSection, QStringLiteral("Version"), Product::DefaultVersion);
    p.profile = ReadProfilePosition(store);
    p.general = ReadGeneralSettings(store, PrefsMainSection, appDir);
    return p;
}
