// The places print jobs go: the system printer, a print queue fed one PDF file per job, a PDF
// file of one page per job, and a recorder that keeps each job's page as an image together with
// the texts drawn on it, for tests.
#pragma once

#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QString>
#include <QTemporaryFile>
#include <memory>
#include <string>
#include <vector>

#include "PrintQueue.h"
#include "SheetPrinting.h"

class QWidget;

namespace sulkan {

// A page of that paper with the narrow border a printer cannot print on.
QPageLayout PrinterLikePage(const QPageSize& size);

// The paper name a print queue knows a page by ("iso_a4_210x297mm"); the page size's own key
// for paper that is not one of ours.
std::string MediaNameOf(const QPageSize& pageSize);

// A print queue: each job is drawn into a temporary PDF file of the page and handed to the queue
// under its job name, and it counts as printed only when the queue accepts it. The check asks
// the queue first, so that a missing or refusing printer prints nothing.
class QueuePrintTarget : public PrintTarget {
public:
    // An empty queue name means the system's default queue.
    QueuePrintTarget(PrintQueue& queue, std::string queueName, const QPageLayout& page,
                     int resolution);
    ~QueuePrintTarget() override;

    // The paper of the jobs that follow.
    void setPage(const QPageLayout& page) { m_page = page; }
    // The queue jobs go to: as named, or the default once the check has found it.
    const std::string& queueName() const { return m_name; }

    int pageWidth() const override;
    int pageHeight() const override;
    int resolution() const override { return m_resolution; }
    QSizeF paperSize() const override;
    int copyCount() const override { return m_copies; }
    void setCopyCount(int copies) override { m_copies = copies; }
    TargetCheck check() override;
    void setJobName(const std::string& name) override { m_jobName = name; }
    QPainter* beginJob() override;
    bool endJob() override;
    void abortJob() override;
    std::string failure() const override { return m_failure; }

private:
    void closeSpool();

    PrintQueue& m_queue;
    std::string m_name;  // UTF-8 as the print system spells it
    QPageLayout m_page;
    int m_resolution;
    int m_copies = 1;
    std::string m_jobName;  // CP932
    std::string m_failure;  // CP932
    std::unique_ptr<QTemporaryFile> m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    QPainter m_painter;
};

// The system printer chosen in the platform's print dialog, at its full resolution; one job per
// beginJob/endJob. With a print queue, jobs for a printer go through it (so a refused job is
// reported); a PDF file chosen in the dialog is written by Qt itself.
class QPrinterTarget : public PrintTarget {
public:
    explicit QPrinterTarget(std::unique_ptr<PrintQueue> queue = MakeSystemPrintQueue());
    ~QPrinterTarget() override;

    int pageWidth() const override;
    int pageHeight() const override;
    int resolution() const override;
    QSizeF paperSize() const override;
    int copyCount() const override;
    void setCopyCount(int copies) override;
    TargetCheck check() override;
    void setJobName(const std::string& name) override;
    QPainter* beginJob() override;
    bool endJob() override;
    void abortJob() override;
    std::string failure() const override;

    // The platform's print dialog on this printer: printer, paper and copies. True on OK.
    bool setup(QWidget* parent);

private:
    bool throughQueue() const;
    QueuePrintTarget& spool();

    QPrinter m_printer{QPrinter::HighResolution};
    QPainter m_painter;
    std::unique_ptr<PrintQueue> m_queue;
    std::unique_ptr<QueuePrintTarget> m_spool;  // the printer as chosen when last checked
    bool m_spooling = false;                    // the current job goes through the queue
    std::string m_jobName;
};

// Every job becomes the next page of one PDF file, the paper of the page size with the narrow
// border of a printer page. The page size may change between jobs.
class PdfPrintTarget : public PrintTarget {
public:
    PdfPrintTarget(const QString& fileName, const QPageSize& pageSize, int resolution = 600);
    ~PdfPrintTarget() override;

    // The page of the jobs that follow.
    void setPageSize(const QPageSize& pageSize);

    int pageWidth() const override;
    int pageHeight() const override;
    int resolution() const override;
    QSizeF paperSize() const override;
    QPainter* beginJob() override;
    bool endJob() override;
    // A PDF page cannot be taken back: an aborted job leaves its page as far as it was drawn.
    void abortJob() override;

    // Completes the file; without any job nothing is written. Called by the destructor too.
    bool finish();
    int pages() const { return m_pages; }

private:
    QPdfWriter m_writer;
    QPainter m_painter;
    bool m_started = false;
    int m_pages = 0;
};

// Each job on a white image of the page size at the given resolution, and every text drawn
// through the job's canvas (CP932), in order.
class RecordingPrintTarget : public PrintTarget {
public:
    struct Job {
        QImage page;
        std::vector<std::string> texts;
        bool ended = false;
        bool aborted = false;
    };

    RecordingPrintTarget(int pageWidth, int pageHeight, int resolution);

    int pageWidth() const override { return m_width; }
    int pageHeight() const override { return m_height; }
    int resolution() const override { return m_resolution; }
    int copyCount() const override { return copies; }
    void setCopyCount(int n) override { copies = n; }
    QPainter* beginJob() override;
    bool endJob() override;
    void abortJob() override;
    std::unique_ptr<Canvas> canvasFor(QPainter& painter) override;

    // Other paper, as chosen in a printer's setup.
    void setPage(int pageWidth, int pageHeight) {
        m_width = pageWidth;
        m_height = pageHeight;
    }

    std::vector<Job> jobs;
    int copies = 1;
    bool refuseJobs = false;  // beginJob fails, as a printer that is not ready

private:
    int m_width, m_height, m_resolution;
    QPainter m_painter;
};

}  // namespace sulkan
