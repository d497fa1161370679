#pragma once
#include <cstdint>
#include <functional>

#include "Control.h"

namespace fw {

// Fires Action every Period milliseconds while Mode is 2; Mode 0 stops it.
// A tick that falls due while Action still runs is dropped, never nested;
// so is one that falls due during start-up (EventGate.h).
class Timer : public Control {
 public:
  ~Timer() override;
  const PropertyTable& StoredProperties() const override;

  static constexpr int32_t ModeOff = 0, ModeMultiple = 2;

  int32_t Period() const { return period_; }
  void SetPeriod(int32_t ms);
  int32_t Mode() const { return mode_; }
  void SetMode(int32_t mode);

  std::function<void(Timer&)> Action;

  // Called by the native side when the timer falls due.
  void Fire();
  bool Running() const { return mode_ != ModeOff; }

 private:
  void Reschedule();
  int32_t period_ = 1000;
  int32_t mode_ = ModeOff;
  bool inAction_ = false;
};

}  // namespace fw
