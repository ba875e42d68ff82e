// The program's own process id, and whether another process of ours has certainly ended, for
// the files that carry the id of the process that wrote them (temporary files, lock files).
#pragma once

namespace sulkan {

int OwnProcessId();

// True only when the system says no process of that id exists; false when it runs, when it
// cannot be told (Windows: such files go by their age alone) and for ids that are no process's.
bool ProcessGone(int pid);

}  // namespace sulkan
