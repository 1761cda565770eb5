// The editor's system-wide settings kept from one run to the next in the user's configuration folder
// ($XDG_CONFIG_HOME/Notavera/Notavera.conf, through QSettings): the settings dialogs' values, the recent files and
// the printer chosen.
#pragma once

#include <QString>

#include "shell/system_settings.h"

namespace notavera {

// Values never stored keep what `settings` holds.
void LoadSystemSettings(SystemSettings& settings);
void SaveSystemSettings(const SystemSettings& settings);
// The list of "Fichiers récents" alone, as it changes.
void StoreRecentFiles(const std::vector<std::string>& recent);

// The printer chosen last; empty when none was.
QString StoredPrinterName();
void StorePrinterName(const QString& name);

}  // namespace notavera
