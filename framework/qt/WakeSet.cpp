#include "WakeSet.h"

#include <sys/epoll.h>
#include <sys/timerfd.h>
#include <unistd.h>

namespace fw::qt {

WakeSet::WakeSet(int ms, const std::vector<int>& descriptors) {
  epoll_ = ::epoll_create1(EPOLL_CLOEXEC);
  if (epoll_ < 0) return;
  bool ok = true;
  auto add = [&](int fd) {
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = fd;
    ok = ok && ::epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event) == 0;
  };
  for (int fd : descriptors) add(fd);
  if (ms >= 0) {
    timer_ = ::timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK);
    itimerspec when{};
    // A zero time would disarm the timer: the least wait is a nanosecond.
    when.it_value.tv_sec = ms / 1000;
    when.it_value.tv_nsec = long(ms % 1000) * 1000000L + (ms == 0 ? 1 : 0);
    ok = ok && timer_ >= 0 && ::timerfd_settime(timer_, 0, &when, nullptr) == 0;
    if (ok) add(timer_);
  }
  if (!ok) {
    if (timer_ >= 0) ::close(timer_);
    ::close(epoll_);
    epoll_ = timer_ = -1;
  }
}

WakeSet::~WakeSet() {
  if (timer_ >= 0) ::close(timer_);
  if (epoll_ >= 0) ::close(epoll_);
}

}  // namespace fw::qt
