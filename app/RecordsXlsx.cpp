#include "RecordsXlsx.h"

#include <xlsxwriter.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "Sjis.h"

#ifdef _WIN32
#include <process.h>
#define SULKAN_GETPID _getpid
#else
#include <unistd.h>
#define SULKAN_GETPID getpid
#endif

namespace sulkan {
namespace {

namespace fs = std::filesystem;

constexpr lxw_row_t kMaxRows = 1048576;       // rows of one sheet, header included
constexpr std::size_t kMaxCellChars = 32767;  // characters of one text cell

// A file of our own in the system's temporary folder, removed again when done.
class ScratchFile {
public:
    ScratchFile() {
        static std::atomic<unsigned> counter{0};
        std::error_code ec;
        fs::path folder = fs::temp_directory_path(ec);
        if (ec) folder = ".";
        m_path = folder / ("sulkan-records-" + std::to_string(SULKAN_GETPID()) + "-" +
                           std::to_string(counter++) + ".xlsx");
    }
    ~ScratchFile() {
        std::error_code ec;
        fs::remove(m_path, ec);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

bool RealDate(int year, int month, int day) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1900 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

std::string Padded(int n, int width) {
    std::string text = std::to_string(n);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
    return text;
}

// The text cut after kMaxCellChars characters (UTF-8), whole characters kept.
std::string CellText(const std::string& text, int& cutCells) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (++chars > kMaxCellChars) {
            ++cutCells;
            return text.substr(0, i);
        }
    }
    return text;
}

class SheetWriter {
public:
    SheetWriter(lxw_worksheet* sheet, int& cutCells) : m_sheet(sheet), m_cut(cutCells) {}

    void text(lxw_row_t row, lxw_col_t col, const std::string& value,
              lxw_format* format = nullptr) {
        if (value.empty()) return;
        check(worksheet_write_string(m_sheet, row, col, CellText(value, m_cut).c_str(), format));
    }
    void number(lxw_row_t row, lxw_col_t col, double value, lxw_format* format = nullptr) {
        check(worksheet_write_number(m_sheet, row, col, value, format));
    }
    // Numbers below 0 stand for "not known" and leave the cell empty.
    void count(lxw_row_t row, lxw_col_t col, int value) {
        if (value >= 0) number(row, col, value);
    }
    void date(lxw_row_t row, lxw_col_t col, lxw_datetime value, lxw_format* format) {
        check(worksheet_write_datetime(m_sheet, row, col, &value, format));
    }
    lxw_error error() const { return m_error; }

private:
    void check(lxw_error error) {
        if (error != LXW_NO_ERROR && m_error == LXW_NO_ERROR) m_error = error;
    }
    lxw_worksheet* m_sheet;
    int& m_cut;
    lxw_error m_error = LXW_NO_ERROR;
};

lxw_error WriteWorkbook(const fs::path& file, const ExportTable& table, int& cutCells) {
    const std::u8string name = file.u8string();
    // Rows go out as they are written (text as inline strings), so a class's year of records
    // does not have to fit in memory at once; the library's own scratch files go beside ours.
    std::u8string scratchFolder = file.parent_path().u8string();
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = reinterpret_cast<char*>(scratchFolder.data());
    lxw_workbook* book = workbook_new_opt(reinterpret_cast<const char*>(name.c_str()), &options);
    if (!book) return LXW_ERROR_MEMORY_MALLOC_FAILED;
    lxw_worksheet* sheet = workbook_add_worksheet(book, "records");
    lxw_format* header = workbook_add_format(book);
    format_set_bold(header);
    lxw_format* dateFormat = workbook_add_format(book);
    format_set_num_format(dateFormat, "yyyy-mm-dd");
    lxw_format* timeFormat = workbook_add_format(book);
    format_set_num_format(timeFormat, "hh:mm");
    if (!sheet || !header || !dateFormat || !timeFormat) {
        workbook_close(book);
        return LXW_ERROR_MEMORY_MALLOC_FAILED;
    }

    SheetWriter w(sheet, cutCells);
    const std::vector<std::string> columns = RecordsColumns(table.unparsed > 0);
    for (std::size_t c = 0; c < columns.size(); ++c)
        w.text(0, static_cast<lxw_col_t>(c), columns[c], header);
    worksheet_freeze_panes(sheet, 1, 0);
    worksheet_set_column(sheet, 0, 0, 14, nullptr);
    worksheet_set_column(sheet, 5, 5, 24, nullptr);
    worksheet_set_column(sheet, 7, 7, 11, nullptr);
    worksheet_set_column(sheet, 9, 9, 12, nullptr);

    lxw_row_t row = 1;
    for (const ExportRow& r : table.rows) {
        w.text(row, 0, r.learner);
        w.count(row, 1, r.lesson);
        w.count(row, 2, r.section);
        w.count(row, 3, r.unit);
        w.count(row, 4, r.similar);
        w.text(row, 5, r.title);
        w.count(row, 6, r.run);
        if (RealDate(r.year, r.month, r.day))
            w.date(row, 7, lxw_datetime{r.year, r.month, r.day, 0, 0, 0}, dateFormat);
        else if (r.year >= 0)
            w.text(row, 7, Padded(r.year, 4) + "-" + Padded(r.month, 2) + "-" + Padded(r.day, 2));
        if (r.hour >= 0 && r.hour < 24 && r.minute >= 0 && r.minute < 60)
            w.number(row, 8, (r.hour * 60 + r.minute) / 1440.0, timeFormat);
        else if (r.hour >= 0)
            w.text(row, 8, Padded(r.hour, 2) + ":" + Padded(r.minute, 2));
        w.text(row, 9, r.marks);
        w.count(row, 10, r.correct);
        w.count(row, 11, r.total);
        w.count(row, 12, r.score);
        w.count(row, 13, r.seconds);
        if (table.unparsed > 0) w.text(row, 14, r.raw);
        ++row;
    }
    const lxw_error closed = workbook_close(book);
    return w.error() != LXW_NO_ERROR ? w.error() : closed;
}

}  // namespace

XlsxResult WriteRecordsXlsx(const std::string& path, const ExportTable& table) {
    XlsxResult result;
    auto failed = [&path](const std::string& reason) {
        return Problem{
            sjis("ファイル ") + path + sjis(" を保存できませんでした（") + reason + sjis("）"),
            reason};
    };
    if (table.rows.size() >= kMaxRows) {
        result.problem = failed(sjis("記録が多すぎて 1 枚のシートに入りません"));
        return result;
    }
    const ScratchFile scratch;
    if (WriteWorkbook(scratch.path(), table, result.cutCells) != LXW_NO_ERROR) {
        result.problem = failed(sjis("表計算ファイルを作れませんでした"));
        return result;
    }
    std::ifstream in(scratch.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (!in || !bytes) {
        result.problem = failed(sjis("表計算ファイルを作れませんでした"));
        return result;
    }
    if (const Result<> saved = WriteBytes(path, bytes.str()); !saved)
        result.problem = saved.problem();
    return result;
}

}  // namespace sulkan
