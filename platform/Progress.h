// Progress of work that goes through many units or copies: the total first, then a step after
// each one, which also asks whether the user wants to stop. A terminal reporter for the command
// line, a recording double for tests, and ProgressRun, which finishes the work on every path.
#pragma once

#include <string>
#include <vector>

namespace sulkan {

class Progress {
public:
    virtual ~Progress() = default;

    // Work of total steps begins; label (CP932) says what it is.
    virtual void start(int total, const std::string& label) = 0;
    // done steps of the total are finished, the last of them named by label (CP932). False when
    // the user asked to stop: the caller stops before the next step.
    virtual bool step(int done, const std::string& label) = 0;
    // The work is over, whether it went through or stopped.
    virtual void finish() = 0;
};

// One run of work on a progress that may be absent: starts it, passes the steps on, remembers a
// stop and finishes it when it goes out of scope.
class ProgressRun {
public:
    ProgressRun(Progress* progress, int total, const std::string& label);
    ~ProgressRun();
    ProgressRun(const ProgressRun&) = delete;
    ProgressRun& operator=(const ProgressRun&) = delete;

    // False once the user asked to stop; later steps are not passed on.
    bool step(int done, const std::string& label);
    bool cancelled() const { return m_cancelled; }

private:
    Progress* m_progress;
    bool m_cancelled = false;
};

// "3/40 label" per step in UTF-8 on a file descriptor (standard error unless told), only when it
// is a terminal: output into a pipe or a file stays as it was. Never stops the work.
class TerminalProgress : public Progress {
public:
    explicit TerminalProgress(int fd = 2);

    // Whether lines are written at all.
    bool onTerminal() const { return m_terminal; }

    void start(int total, const std::string& label) override;
    bool step(int done, const std::string& label) override;
    void finish() override {}

private:
    int m_fd;
    bool m_terminal;
    int m_total = 0;
};

// Every call as it came, for tests; step number cancelAt (1 for the first) and every step after
// it answer "stop".
class RecordingProgress : public Progress {
public:
    enum class Kind { Start, Step, Finish };
    struct Call {
        Kind kind;
        int number;         // the total of a start, the count done of a step
        std::string label;  // CP932
    };

    void start(int total, const std::string& label) override;
    bool step(int done, const std::string& label) override;
    void finish() override;

    // The count done of each step, in order.
    std::vector<int> steps() const;
    int starts() const;
    int finishes() const;

    std::vector<Call> calls;
    int cancelAt = 0;  // 0: never stop
    int stepsSeen = 0;
};

}  // namespace sulkan
