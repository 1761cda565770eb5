// Single-shot timers on Qt's event loop: the action runs on the user-interface thread once the delay is over.
#include "platform/qt/qt_timer_services.h"

#include <QTimer>

namespace notavera {

void QtTimerServices::singleShot(std::chrono::milliseconds delay, std::function<void()> action) {
    QTimer::singleShot(delay, &owner_, std::move(action));
}

}  // namespace notavera
