// The behaviour every user interface shares unless it shows something better.
#include "platform/ui_services.h"

namespace notavera {

bool UiServices::runDialog(DialogModel&) { return false; }

bool UiServices::runStaffLayoutDialog(DialogModel& model, StaffLayoutEditor&) { return runDialog(model); }

}  // namespace notavera
