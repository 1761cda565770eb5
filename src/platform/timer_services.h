// Single-shot timers of the user-interface thread: an action runs once after a delay, on that thread, while the
// interface keeps answering. The Qt layer uses its event loop; tests advance a clock of their own.
#pragma once

#include <chrono>
#include <functional>

namespace notavera {

class TimerServices {
public:
    virtual ~TimerServices() = default;

    virtual void singleShot(std::chrono::milliseconds delay, std::function<void()> action) = 0;
};

}  // namespace notavera
