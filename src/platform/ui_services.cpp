// The behaviour every user interface shares unless it shows something better.
#include "platform/ui_services.h"

namespace notavera {

bool UiServices::runDialog(DialogModel&) { return false; }
bool UiServices::showHelp(const std::string&) { return false; }
// Without a window there is nothing to tick: the timer is taken as set, and it never fires.
bool UiServices::setTimer(int, int) { return true; }
void UiServices::killTimer(int) {}
std::optional<int> UiServices::popupValueMenu() { return std::nullopt; }

bool UiServices::runStaffLayoutDialog(DialogModel& model, StaffLayoutEditor&) { return runDialog(model); }

}  // namespace notavera
