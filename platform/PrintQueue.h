// The system's print queues: whether a queue takes jobs now, and handing a finished PDF file to a
// queue as one named job. CUPS where it is built in; a recording double for tests.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace sulkan {

struct QueueStatus {
    enum class State {
        Ready,        // takes jobs and prints them
        Stopped,      // takes jobs and holds them until it is started again
        Refusing,     // takes no jobs
        Missing,      // no such queue
        Unreachable,  // the print system could not be asked
    };
    State state = State::Missing;
    std::string reason;  // UTF-8, the print system's own words; may be empty
};

struct QueueJob {
    std::string jobName;  // UTF-8
    int copies = 1;       // made by the printer
    std::string media;    // paper name as the print system knows it ("iso_a4_210x297mm")
};

struct QueueSubmission {
    int jobId = 0;      // 0: the job was not accepted
    std::string error;  // UTF-8, the print system's reason when it was not
};

class PrintQueue {
public:
    virtual ~PrintQueue() = default;

    // The queue jobs go to when none is named; empty when there is none.
    virtual std::string defaultQueue() = 0;
    virtual QueueStatus status(const std::string& queue) = 0;
    // Queues the PDF file as one job; the file may be removed once this returns.
    virtual QueueSubmission submit(const std::string& queue, const std::string& pdfFile,
                                   const QueueJob& job) = 0;
};

// The system's print queues (CUPS); nullptr where the program was built without CUPS, and the
// printer is then driven through Qt alone.
std::unique_ptr<PrintQueue> MakeSystemPrintQueue();

// Queues as a test sets them up, and every job handed to them with its PDF bytes.
class RecordingPrintQueue : public PrintQueue {
public:
    struct Job {
        std::string queue;
        QueueJob job;
        std::string pdf;  // the file's bytes at submission
    };

    std::string defaultQueue() override { return defaultName; }
    QueueStatus status(const std::string& queue) override;
    QueueSubmission submit(const std::string& queue, const std::string& pdfFile,
                           const QueueJob& job) override;

    std::string defaultName;
    std::map<std::string, QueueStatus> queues;
    std::string submitError;  // non-empty: every submission fails with it
    std::vector<Job> jobs;
};

}  // namespace sulkan
