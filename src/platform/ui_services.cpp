// The behaviour every user interface shares unless it shows something better.
#include "platform/ui_services.h"

#include "platform/dialog_model.h"
#include "platform/font_choice_dialog.h"

namespace notavera {

bool UiServices::runDialog(DialogModel&) { return false; }
std::optional<FontChoice> UiServices::chooseFont(const FontChoice& current) {
    DialogModel dialog = MakeFontChoiceDialog(current);
    if (!runDialog(dialog)) return std::nullopt;
    return FontChoiceOf(dialog);
}

bool UiServices::showHelp(const std::string&) { return false; }
// Without a window there is nothing to tick: the timer is taken as set, and it never fires.
bool UiServices::setTimer(int, int) { return true; }
void UiServices::killTimer(int) {}
std::optional<int> UiServices::popupValueMenu() { return std::nullopt; }

bool UiServices::runStaffLayoutDialog(DialogModel& model, StaffLayoutEditor&) { return runDialog(model); }
bool UiServices::runRulerDialog(DialogModel& model, StaffRuler&) { return runDialog(model); }

}  // namespace notavera
