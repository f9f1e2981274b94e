#include "ui/timer.h"

namespace qv::ui {

Timer::Timer(platform::TimerService& service, std::string name, int index)
    : name_(std::move(name)), index_(index), timer_(service, [this] {
        if (on_tick) {
          auto tick = on_tick;  // the handler may replace itself or destroy the timer
          tick();
        }
      }) {
  timer_.SetEnabled(true);
}

}  // namespace qv::ui
