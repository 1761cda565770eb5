// The settings file through QSettings: one key per value, read back over the start-up values.
#include "platform/qt/qt_settings_store.h"

#include <QSettings>
#include <QStringList>

#include "shell/recent_files.h"

namespace notavera {
namespace {

// Under Linux QSettings keeps a native-format file in $XDG_CONFIG_HOME (~/.config) named after the organisation and
// the application.
QSettings Store() { return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Notavera", "Notavera"); }

void Read(const QSettings& s, const char* key, int& value) { value = s.value(key, value).toInt(); }
void Read(const QSettings& s, const char* key, bool& value) { value = s.value(key, value).toBool(); }

// The files of earlier runs come after those this run has already opened (the document of the command line).
void ReadRecentFiles(const QSettings& s, std::vector<std::string>& recent) {
    const std::vector<std::string> thisRun = recent;
    recent.clear();
    const QStringList stored = s.value("files/recent").toStringList();
    for (auto path = stored.crbegin(); path != stored.crend(); ++path)
        if (!path->isEmpty()) RememberRecentFile(recent, path->toStdString());
    for (auto path = thisRun.crbegin(); path != thisRun.crend(); ++path) RememberRecentFile(recent, *path);
}

void WriteRecentFiles(QSettings& s, const std::vector<std::string>& recent) {
    QStringList paths;
    for (const std::string& path : recent) paths << QString::fromStdString(path);
    s.setValue("files/recent", paths);
}

}  // namespace

void LoadSystemSettings(SystemSettings& settings) {
    const QSettings s = Store();
    Read(s, "dialogs/verticalShift", settings.verticalShift);
    Read(s, "dialogs/paperButton", settings.paperButton);
    Read(s, "dialogs/invertVerticalText", settings.invertVerticalText);
    Read(s, "dialogs/keyboardEcho", settings.keyboardEcho);
    Read(s, "dialogs/midiInputCycles", settings.midiInputCycles);
    Read(s, "dialogs/distanceAfterBar", settings.distanceSteps.afterBar);
    Read(s, "dialogs/distanceAfterMeter", settings.distanceSteps.afterMeter);
    Read(s, "dialogs/distanceAfterClef", settings.distanceSteps.afterClef);
    Read(s, "staffLayout/mode", settings.staffLayout.mode);
    Read(s, "staffLayout/lines", settings.staffLayout.lines);
    Read(s, "staffLayout/superposeLeft", settings.staffLayout.superposeLeft);
    Read(s, "staffLayout/superposeRight", settings.staffLayout.superposeRight);
    Read(s, "staffLayout/copyDefinitionOnly", settings.staffLayout.copyDefinitionOnly);
    ReadRecentFiles(s, settings.recentFiles);
}

void SaveSystemSettings(const SystemSettings& settings) {
    QSettings s = Store();
    s.setValue("dialogs/verticalShift", settings.verticalShift);
    s.setValue("dialogs/paperButton", settings.paperButton);
    s.setValue("dialogs/invertVerticalText", settings.invertVerticalText);
    s.setValue("dialogs/keyboardEcho", settings.keyboardEcho);
    s.setValue("dialogs/midiInputCycles", settings.midiInputCycles);
    s.setValue("dialogs/distanceAfterBar", settings.distanceSteps.afterBar);
    s.setValue("dialogs/distanceAfterMeter", settings.distanceSteps.afterMeter);
    s.setValue("dialogs/distanceAfterClef", settings.distanceSteps.afterClef);
    s.setValue("staffLayout/mode", settings.staffLayout.mode);
    s.setValue("staffLayout/lines", settings.staffLayout.lines);
    s.setValue("staffLayout/superposeLeft", settings.staffLayout.superposeLeft);
    s.setValue("staffLayout/superposeRight", settings.staffLayout.superposeRight);
    s.setValue("staffLayout/copyDefinitionOnly", settings.staffLayout.copyDefinitionOnly);
    WriteRecentFiles(s, settings.recentFiles);
}

void StoreRecentFiles(const std::vector<std::string>& recent) {
    QSettings s = Store();
    WriteRecentFiles(s, recent);
}

QString StoredPrinterName() { return Store().value("printer/name").toString(); }

void StorePrinterName(const QString& name) { Store().setValue("printer/name", name); }

}  // namespace notavera
