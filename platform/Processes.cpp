#include "Processes.h"

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#include <cerrno>
#include <csignal>
#endif

namespace sulkan {

int OwnProcessId() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(::getpid());
#endif
}

bool ProcessGone([[maybe_unused]] int pid) {
#ifdef _WIN32
    return false;
#else
    return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH;
#endif
}

}  // namespace sulkan
