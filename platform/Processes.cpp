#include "Processes.h"

#ifdef _WIN32
#define NOMINMAX
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <fstream>
#include <sstream>
#endif

namespace sulkan {

int OwnProcessId() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(::getpid());
#endif
}

#ifndef _WIN32
namespace {

// The state letter and the start time of a process from /proc (Linux); state '\0' when there is
// no such entry to read.
struct ProcStat {
    char state = '\0';
    std::uint64_t started = 0;
};

ProcStat ReadProcStat(int pid) {
    ProcStat stat;
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    if (!in || !std::getline(in, text)) return stat;
    // The command name in parentheses may hold blanks and parentheses: fields follow the last ")".
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos) return stat;
    std::istringstream fields(text.substr(close + 1));
    std::string field;
    // Field 3 is the state, field 22 the start time in clock ticks after boot.
    for (int n = 3; n <= 22 && fields >> field; ++n) {
        if (n == 3) stat.state = field.empty() ? '\0' : field[0];
        if (n == 22) stat.started = std::strtoull(field.c_str(), nullptr, 10);
    }
    return stat;
}

}  // namespace
#endif

std::uint64_t ProcessStartTime([[maybe_unused]] int pid) {
    if (pid <= 0) return 0;
#ifdef _WIN32
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (!process) return 0;
    FILETIME created{}, exited{}, kernel{}, user{};
    std::uint64_t started = 0;
    if (GetProcessTimes(process, &created, &exited, &kernel, &user))
        started =
            (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
    CloseHandle(process);
    return started;
#else
    return ReadProcStat(pid).started;
#endif
}

std::string OwnHostName() {
#ifdef _WIN32
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    if (!GetComputerNameA(name, &size) || size == 0) return "?";
    return std::string(name, size);
#else
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "?";
    return name;
#endif
}

bool ProcessGone(int pid, [[maybe_unused]] std::uint64_t started) {
    if (pid <= 0) return false;
#ifdef _WIN32
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (!process) return GetLastError() == ERROR_INVALID_PARAMETER;  // no such process
    DWORD code = 0;
    bool gone = GetExitCodeProcess(process, &code) && code != STILL_ACTIVE;
    if (!gone && started != 0) {
        FILETIME created{}, exited{}, kernel{}, user{};
        if (GetProcessTimes(process, &created, &exited, &kernel, &user))
            gone = ((static_cast<std::uint64_t>(created.dwHighDateTime) << 32) |
                    created.dwLowDateTime) != started;
    }
    CloseHandle(process);
    return gone;
#else
    if (::kill(pid, 0) != 0 && errno == ESRCH) return true;
    // Running, or another user's (EPERM): it may still be a zombie or a later process.
    const ProcStat stat = ReadProcStat(pid);
    // A killed process stays a zombie until its parent collects it; it holds nothing any more.
    if (stat.state == 'Z' || stat.state == 'X') return true;
    return started != 0 && stat.started != 0 && stat.started != started;
#endif
}

}  // namespace sulkan
