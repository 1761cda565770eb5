// Single-shot timers on Qt's event loop: the action runs on the user-interface thread once the delay is over.
#pragma once

#include <QObject>

#include "platform/timer_services.h"

namespace notavera {

class QtTimerServices final : public TimerServices {
public:
    void singleShot(std::chrono::milliseconds delay, std::function<void()> action) override;

private:
    // Owns the pending timers: an action never runs after the services are gone.
    QObject owner_;
};

}  // namespace notavera
