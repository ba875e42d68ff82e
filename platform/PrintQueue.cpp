#include "PrintQueue.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#if defined(SULKAN_HAVE_CUPS)
#include <cups/cups.h>
#endif

namespace sulkan {

#if defined(SULKAN_HAVE_CUPS)
namespace {

constexpr std::size_t kMaxJobName = 255;  // octets of an IPP name

// Cut at a character boundary so that the print system never sees half a UTF-8 character.
std::string CutUtf8(std::string text, std::size_t max) {
    if (text.size() <= max) return text;
    std::size_t end = max;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    text.resize(end);
    return text;
}

class CupsPrintQueue : public PrintQueue {
public:
    std::string defaultQueue() override {
        // Follows PRINTER/LPDEST, the user's lpoptions and the server's default, as lp does.
        cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr);
        if (!dest) return {};
        std::string name = dest->name;
        cupsFreeDests(1, dest);
        return name;
    }

    QueueStatus status(const std::string& queue) override {
        QueueStatus result;
        // An instance ("name/instance") prints on its queue.
        const std::string name = queue.substr(0, queue.find('/'));
        char uri[HTTP_MAX_URI];
        httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost",
                         ippPort(), "/printers/%s", name.c_str());
        ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
        static const char* const wanted[] = {"printer-is-accepting-jobs", "printer-state",
                                             "printer-state-message", "printer-state-reasons"};
        ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                      static_cast<int>(std::size(wanted)), nullptr, wanted);
        ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
        if (!response) {
            result.state = QueueStatus::State::Unreachable;
            result.reason = cupsLastErrorString();
            return result;
        }
        if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND) {
            result.state = QueueStatus::State::Missing;
        } else if (cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE) {
            result.state = QueueStatus::State::Unreachable;
            result.reason = cupsLastErrorString();
        } else {
            ipp_attribute_t* accepting =
                ippFindAttribute(response, "printer-is-accepting-jobs", IPP_TAG_BOOLEAN);
            ipp_attribute_t* state = ippFindAttribute(response, "printer-state", IPP_TAG_ENUM);
            ipp_attribute_t* message =
                ippFindAttribute(response, "printer-state-message", IPP_TAG_TEXT);
            if (accepting && !ippGetBoolean(accepting, 0))
                result.state = QueueStatus::State::Refusing;
            else if (state && ippGetInteger(state, 0) == IPP_PSTATE_STOPPED)
                result.state = QueueStatus::State::Stopped;
            else
                result.state = QueueStatus::State::Ready;
            if (message && ippGetString(message, 0, nullptr))
                result.reason = ippGetString(message, 0, nullptr);
        }
        ippDelete(response);
        return result;
    }

    QueueSubmission submit(const std::string& queue, const std::string& pdfFile,
                           const QueueJob& job) override {
        int count = 0;
        cups_option_t* options = nullptr;
        count = cupsAddOption("copies", std::to_string(std::max(1, job.copies)).c_str(), count,
                              &options);
        if (!job.media.empty()) count = cupsAddOption("media", job.media.c_str(), count, &options);
        count = cupsAddOption("document-format", "application/pdf", count, &options);
        const std::string title = CutUtf8(job.jobName, kMaxJobName);
        QueueSubmission result;
        result.jobId = cupsPrintFile2(CUPS_HTTP_DEFAULT, queue.c_str(), pdfFile.c_str(),
                                      title.c_str(), count, options);
        if (result.jobId == 0) result.error = cupsLastErrorString();
        cupsFreeOptions(count, options);
        return result;
    }
};

}  // namespace

std::unique_ptr<PrintQueue> MakeSystemPrintQueue() {
    return std::make_unique<CupsPrintQueue>();
}
#else
std::unique_ptr<PrintQueue> MakeSystemPrintQueue() {
    return nullptr;
}
#endif

QueueStatus RecordingPrintQueue::status(const std::string& queue) {
    auto it = queues.find(queue);
    return it != queues.end() ? it->second : QueueStatus{};
}

QueueSubmission RecordingPrintQueue::submit(const std::string& queue, const std::string& pdfFile,
                                            const QueueJob& job) {
    if (!submitError.empty()) return {0, submitError};
    std::ifstream in(pdfFile, std::ios::binary);
    jobs.push_back({queue, job, std::string(std::istreambuf_iterator<char>(in), {})});
    return {static_cast<int>(jobs.size()), {}};
}

}  // namespace sulkan
