#pragma once
#include <vector>

namespace fw::qt {

// One descriptor that becomes readable when any of a set does or a time
// limit passes (an epoll set holding a timer), for an event loop to watch
// in place of them all.
class WakeSet {
 public:
  // ms < 0: no time limit.
  WakeSet(int ms, const std::vector<int>& descriptors);
  ~WakeSet();
  WakeSet(const WakeSet&) = delete;
  WakeSet& operator=(const WakeSet&) = delete;

  // False when the system would not make one.
  bool Valid() const { return epoll_ >= 0; }
  int Descriptor() const { return epoll_; }

 private:
  int epoll_ = -1;
  int timer_ = -1;
};

}  // namespace fw::qt
