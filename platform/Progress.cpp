#include "Progress.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#include <cerrno>
#endif

#include "Codec.h"

namespace sulkan {
namespace {

bool IsTerminal(int fd) {
#ifdef _WIN32
    return _isatty(fd) != 0;
#else
    return ::isatty(fd) == 1;
#endif
}

// Writes the whole text; a terminal that takes nothing more is given up on quietly.
void WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
#ifdef _WIN32
        const int n = _write(fd, text.data() + done, static_cast<unsigned>(text.size() - done));
#else
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
#endif
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace

ProgressRun::ProgressRun(Progress* progress, int total, const std::string& label)
    : m_progress(progress) {
    if (m_progress) m_progress->start(total, label);
}

ProgressRun::~ProgressRun() {
    if (m_progress) m_progress->finish();
}

bool ProgressRun::step(int done, const std::string& label) {
    if (m_cancelled) return false;
    if (m_progress && !m_progress->step(done, label)) m_cancelled = true;
    return !m_cancelled;
}

TerminalProgress::TerminalProgress(int fd) : m_fd(fd), m_terminal(IsTerminal(fd)) {}

void TerminalProgress::start(int total, const std::string& /*label*/) {
    m_total = total;
}

bool TerminalProgress::step(int done, const std::string& label) {
    if (!m_terminal) return true;
    std::string line = std::to_string(done) + "/" + std::to_string(m_total);
    if (!label.empty()) line += " " + Cp932ToUtf8(label);
    WriteAll(m_fd, line + "\n");
    return true;
}

void RecordingProgress::start(int total, const std::string& label) {
    calls.push_back({Kind::Start, total, label});
}

bool RecordingProgress::step(int done, const std::string& label) {
    calls.push_back({Kind::Step, done, label});
    ++stepsSeen;
    return cancelAt == 0 || stepsSeen < cancelAt;
}

void RecordingProgress::finish() {
    calls.push_back({Kind::Finish, 0, {}});
}

std::vector<int> RecordingProgress::steps() const {
    std::vector<int> done;
    for (const Call& c : calls)
        if (c.kind == Kind::Step) done.push_back(c.number);
    return done;
}

int RecordingProgress::starts() const {
    int n = 0;
    for (const Call& c : calls) n += c.kind == Kind::Start;
    return n;
}

int RecordingProgress::finishes() const {
    int n = 0;
    for (const Call& c : calls) n += c.kind == Kind::Finish;
    return n;
}

}  // namespace sulkan
