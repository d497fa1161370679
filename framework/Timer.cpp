#include "Timer.h"

#include <algorithm>
#include <string>

#include "Backend.h"
#include "EventGate.h"
#include "Exceptions.h"
#include "PropertyTables.h"
#include "Runtime.h"

namespace fw {

using props::Extend;
using props::Setter;

Timer::~Timer() {
  if (Running() && HasBackend()) CurrentBackend().StopTimer(*this);
}

const PropertyTable& Timer::StoredProperties() const {
  static const PropertyTable table = Extend(Control::StoredProperties(), {
      Setter("Period", &Timer::SetPeriod),
      Setter("Mode", &Timer::SetMode),
  });
  return table;
}

void Timer::SetPeriod(int32_t ms) {
  period_ = ms;
  if (Running()) Reschedule();
}

void Timer::SetMode(int32_t mode) {
  if (mode != ModeOff && mode != ModeMultiple) {
    throw RuntimeException("Timer mode " + std::to_string(mode) + " is not supported");
  }
  mode_ = mode;
  Reschedule();
}

void Timer::Reschedule() {
  if (!HasBackend()) return;
  if (Running()) {
    // A period below 1 ms would spin the event loop.
    CurrentBackend().StartTimer(*this, std::max<int32_t>(period_, 1));
  } else {
    CurrentBackend().StopTimer(*this);
  }
}

void Timer::Fire() {
  // A tick that falls due before the application has opened would act on
  // settings Open has not read yet; the next one comes on schedule.
  if (!Running() || inAction_ || !Action || EventGate::StartingUp()) return;
  inAction_ = true;
  Runtime::CallWithExceptionHandling([this] { Action(*this); });
  inAction_ = false;
}

}  // namespace fw
