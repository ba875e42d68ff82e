// The study records of a lesson as a spreadsheet workbook: the rows of the CSV export as typed
// cells, so that a spreadsheet opens names such as "0123" or "=1+1" as the text they are.
#pragma once

#include <optional>
#include <string>

#include "LineFile.h"
#include "RecordStore.h"
#include "Result.h"

namespace sulkan {

struct XlsxResult {
    std::optional<Problem> problem;  // none: saved
    int cutCells = 0;  // text cells longer than a spreadsheet cell holds, cut at its limit
};

// Writes the table to path (CP932) as an XLSX workbook of one sheet: text cells for text, numbers
// for numbers, the date as a date cell and the time as a time cell (a date or time that is no
// real one stays text). The file is made whole beside the system's temporary files and then saved
// like every other file (temporary file in the target folder, renamed over it), so a failure
// leaves an old file as it was; the failure names the file.
XlsxResult WriteRecordsXlsx(const std::string& path, const ExportTable& table);

}  // namespace sulkan
