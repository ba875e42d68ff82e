#include "Kanji.h"

#include <QFontDatabase>
#include <QString>
#include <QStringList>
#include <exception>
#include <fstream>
#include <iterator>
#include <mutex>
#include <system_error>

#include "Sjis.h"

namespace sulkan {
namespace {

// JIS X 0208 row and cell (0x21..0x7E each) to the Shift-JIS code.
unsigned JisToSjis(unsigned j1, unsigned j2) {
    const unsigned s1 = ((j1 + 1) >> 1) + (j1 <= 0x5E ? 0x70 : 0xB0);
    const unsigned s2 = (j1 & 1) ? j2 + (j2 >= 0x60 ? 0x20 : 0x1F) : j2 + 0x7E;
    return s1 << 8 | s2;
}

std::optional<unsigned> Hex4(std::string_view s) {
    if (s.size() != 4) return std::nullopt;
    unsigned v = 0;
    for (const char c : s) {
        v <<= 4;
        if (c >= '0' && c <= '9')
            v |= static_cast<unsigned>(c - '0');
        else if (c >= 'A' && c <= 'F')
            v |= static_cast<unsigned>(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f')
            v |= static_cast<unsigned>(c - 'a' + 10);
        else
            return std::nullopt;
    }
    return v;
}

std::mutex g_lookupMutex;
std::function<bool(const std::string&)> g_lookup;

}  // namespace

bool IsKanji(std::string_view c) {
    if (c.size() < 2) return false;
    const auto lead = static_cast<unsigned char>(c[0]);
    const auto trail = static_cast<unsigned char>(c[1]);
    if (lead == 0x88) return trail >= 0x9F;  // level 1 starts at 亜 (889F)
    if (lead == 0xEA) return trail <= 0xA4;  // level 2 ends at 熙 (EAA4)
    if (lead == 0xEE) return trail <= 0xEC;  // then small roman numerals and symbols
    if (lead == 0xFA) return trail >= 0x5C;  // after roman numerals and symbols
    return (lead >= 0x89 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEA) ||
           (lead >= 0xED && lead <= 0xEE) || (lead >= 0xFA && lead <= 0xFC);
}

bool HasKanji(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i))
        if (IsKanji(text.substr(i, CharLength(text, i)))) return true;
    return false;
}

StrokeCounts StrokeCounts::Parse(std::string_view text) {
    StrokeCounts counts;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        // The character (two EUC-JP bytes), a blank, the JIS code, then the fields.
        if (line.size() < 8 || line[0] == '#' || line[2] != ' ') continue;
        const auto jis = Hex4(line.substr(3, 4));
        if (!jis) continue;
        const unsigned j1 = *jis >> 8, j2 = *jis & 0xFF;
        if (j1 < 0x21 || j1 > 0x7E || j2 < 0x21 || j2 > 0x7E) continue;
        for (std::size_t f = line.find(" S", 7); f != std::string_view::npos;
             f = line.find(" S", f + 1)) {
            int n = 0;
            std::size_t k = f + 2;
            while (k < line.size() && line[k] >= '0' && line[k] <= '9' && n < 1000)
                n = n * 10 + (line[k++] - '0');
            if (k == f + 2 || (k < line.size() && line[k] != ' ' && line[k] != '\r')) continue;
            if (n > 0) counts.m_counts.emplace(JisToSjis(j1, j2), n);
            break;
        }
    }
    return counts;
}

StrokeCounts StrokeCounts::Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::string text;
    try {
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } catch (const std::exception&) {
        // A folder (the stream throws on reading it) or a file too large to hold: no counts, as
        // without the file.
        return {};
    }
    if (in.bad()) return {};
    return Parse(text);
}

void StrokeCountsFile::start() {
    std::call_once(m_once, [this] {
        m_started = true;
        auto read = [path = m_path] { return StrokeCounts::Read(path); };
        try {
            m_counts = std::async(std::launch::async, read).share();
        } catch (const std::system_error&) {
            // No thread to be had: the first thread that asks for the counts reads them.
            m_counts = std::async(std::launch::deferred, read).share();
        }
    });
}

const StrokeCounts& StrokeCountsFile::counts() {
    start();
    // call_once makes m_counts visible here; get() on the one shared state is safe from any
    // number of threads.
    return m_counts.get();
}

namespace {

StrokeCountsFile& InstalledFile() {
    static StrokeCountsFile file(kKanjidicPath);
    return file;
}

}  // namespace

void StrokeCounts::StartReadingInstalled() {
    InstalledFile().start();
}

const StrokeCounts& StrokeCounts::Installed() {
    return InstalledFile().counts();
}

std::optional<int> StrokeCounts::of(std::string_view c) const {
    if (c.size() != 2) return std::nullopt;
    const unsigned code = static_cast<unsigned>(static_cast<unsigned char>(c[0])) << 8 |
                          static_cast<unsigned char>(c[1]);
    const auto it = m_counts.find(code);
    if (it == m_counts.end()) return std::nullopt;
    return it->second;
}

std::string StrokeOrderFontFamily() {
    std::function<bool(const std::string&)> lookup;
    {
        const std::lock_guard lock(g_lookupMutex);
        lookup = g_lookup;
    }
    const std::string family = kStrokeOrderFontFamily;
    if (lookup) return lookup(family) ? family : std::string();
    // Qt's font database is fontconfig's list on this system.
    return QFontDatabase::families().contains(QString::fromLatin1(kStrokeOrderFontFamily))
               ? family
               : std::string();
}

void SetFontLookup(std::function<bool(const std::string& family)> lookup) {
    const std::lock_guard lock(g_lookupMutex);
    g_lookup = std::move(lookup);
}

}  // namespace sulkan
