// The places print jobs go: the system printer, a PDF file of one page per job, and a recorder
// that keeps each job's page as an image together with the texts drawn on it, for tests.
#pragma once

#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "SheetPrinting.h"

class QWidget;

namespace sulkan {

// The system printer at its full resolution; one job per beginJob/endJob.
class QPrinterTarget : public PrintTarget {
public:
    QPrinterTarget();
    ~QPrinterTarget() override;

    int pageWidth() const override;
    int pageHeight() const override;
    int resolution() const override;
    int copyCount() const override;
    void setCopyCount(int copies) override;
    QPainter* beginJob() override;
    bool endJob() override;
    void abortJob() override;

    // The platform's print dialog on this printer: printer, paper and copies. True on OK.
    bool setup(QWidget* parent);

private:
    QPrinter m_printer{QPrinter::HighResolution};
    QPainter m_painter;
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
