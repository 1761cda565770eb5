// The help window: the user guide "notavera.hlp" (HTML), opened at its contents.
#pragma once

#include <QString>

class QWidget;

namespace notavera {

// Shows the guide at its contents in a window of its own (one for the whole session, raised when asked again).
// False when the file cannot be read.
bool ShowHelp(const QString& path, QWidget* parent);

}  // namespace notavera
