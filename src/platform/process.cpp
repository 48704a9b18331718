#include "platform/process.h"

#include <chrono>
#include <thread>

namespace vt {

void PauseThread(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace vt
