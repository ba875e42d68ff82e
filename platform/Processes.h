// The program's own process and host, and whether another process of ours has certainly ended,
// for the files that carry the id of the process that wrote them (temporary files, lock files).
#pragma once

#include <cstdint>
#include <string>

namespace sulkan {

int OwnProcessId();

// When the process started, in the system's own units (0 when it cannot be told). Together with
// the id it names one process: an id given to a later process has another start time.
std::uint64_t ProcessStartTime(int pid);

// This computer's name as other computers on a shared folder see it ("?" when unknown).
std::string OwnHostName();

// True only when the system says the process has ended: no process of that id exists, it has
// ended and only its exit status waits to be collected, or (with started, from ProcessStartTime)
// the id now belongs to a process started later. False when it runs, when it cannot be told, and
// for ids that are no process's.
bool ProcessGone(int pid, std::uint64_t started = 0);

}  // namespace sulkan
