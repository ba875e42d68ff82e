#include "QuestionResults.h"

#include <algorithm>
#include <numeric>

#include "Codec.h"
#include "LineFile.h"
#include "QuestionFile.h"
#include "Sjis.h"
#include "TextRoutines.h"
#include "UnitAddress.h"

namespace sulkan {

std::vector<QuestionBlank> BlanksOf(const std::vector<std::string>& questionLines) {
    std::vector<QuestionBlank> blanks;
    std::vector<std::string> pieces;
    for (std::size_t i = 0; i < questionLines.size(); ++i) {
        const int answers = SplitAtHash(questionLines[i], pieces) / 2;
        for (int k = 0; k < answers; ++k)
            blanks.push_back({static_cast<int>(blanks.size()) + 1, static_cast<int>(i), k,
                              pieces[static_cast<std::size_t>(2 * k + 1)], questionLines[i]});
    }
    return blanks;
}

namespace {

std::string WithoutStyleTags(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == '<' && i + 2 < text.size() && text[i + 2] == '>' &&
            CharLength(text, i + 1) == 1) {
            i += 3;
            continue;
        }
        const std::size_t n = CharLength(text, i);
        out.append(text, i, n);
        i += n;
    }
    return out;
}

}  // namespace

std::string QuestionText(const std::string& line, int inLine, BlankAnswers shown) {
    static const std::string open = sjis("（"), close = sjis("）"), openMark = sjis("【"),
                             closeMark = sjis("】"), space = sjis("　");
    std::vector<std::string> pieces, alternatives;
    const int answers = SplitAtHash(line, pieces) / 2;
    std::string out;
    for (int k = 0; k < answers; ++k) {
        out += WithoutStyleTags(pieces[static_cast<std::size_t>(2 * k)]);
        const std::string& answer = pieces[static_cast<std::size_t>(2 * k + 1)];
        const std::string first = shown == BlankAnswers::Hidden
                                      ? space
                                      : WithoutStyleTags(answer.substr(0, answer.find(';')));
        out += k == inLine ? openMark + first + closeMark : open + first + close;
    }
    std::string rest =
        pieces.empty() ? std::string() : pieces[static_cast<std::size_t>(2 * answers)];
    for (std::size_t i = static_cast<std::size_t>(2 * answers) + 1; i < pieces.size(); ++i)
        rest += "#" + pieces[i];
    return out + WithoutStyleTags(rest);
}

UnitQuestions QuestionsOfUnit(const std::vector<std::string>& fileLines, int unit) {
    UnitQuestions q;
    for (int similar = 0; similar < kQuestionVariants; ++similar) {
        const auto at = LocateUnit(fileLines, UnitHeaderOf({0, 0, unit, similar}));
        if (!at) continue;
        StrictUnitRead read = ReadUnitStrict(fileLines, *at);
        if (read.problem) continue;
        q.lines[static_cast<std::size_t>(similar)] = std::move(read.blocks.ques);
        if (similar == 0) {
            q.value = std::move(read.blocks.value);
            q.font = std::move(read.blocks.font);
            q.kran = std::move(read.blocks.kran);
        }
    }
    return q;
}

int RatePercent(const BlankResult& r) {
    if (r.counted <= 0) return -1;
    return static_cast<int>(RoundHalfEven(100.0 * r.correct / r.counted));
}

bool RateBelow(const BlankResult& r, int percent) {
    return r.counted > 0 && 100LL * r.correct < static_cast<long long>(percent) * r.counted;
}

const std::string& RecordsDoNotFitMessage() {
    static const std::string text = sjis("記録と問題が合いません");
    return text;
}

bool SoundRecord(const RecordEntry& e) {
    if (!e.parsed || e.total <= 0 || e.total != static_cast<int>(e.marks.size())) return false;
    return e.correct == static_cast<int>(std::count(e.marks.begin(), e.marks.end(), 'O'));
}

UnitResults ResultsOfUnit(const LessonUnit& unit, UnitQuestions questions,
                          const std::vector<LearnerFile>& files, RunsCounted runs) {
    UnitResults out;
    out.unit = unit;
    out.questions = std::move(questions);
    // Where each variant's blanks start in out.blanks, and how many it has (-1: no such variant).
    std::array<std::size_t, kQuestionVariants> first{};
    std::array<int, kQuestionVariants> count{};
    for (int v = 0; v < kQuestionVariants; ++v) {
        const auto& lines = out.questions.lines[static_cast<std::size_t>(v)];
        first[static_cast<std::size_t>(v)] = out.blanks.size();
        if (!lines) {
            count[static_cast<std::size_t>(v)] = -1;
            continue;
        }
        std::vector<QuestionBlank> blanks = BlanksOf(*lines);
        count[static_cast<std::size_t>(v)] = static_cast<int>(blanks.size());
        for (QuestionBlank& b : blanks) out.blanks.push_back({v, std::move(b), 0, 0, {}});
    }

    for (const LearnerFile& f : files) {
        std::array<bool, kQuestionVariants> seen{};
        bool counted = false;
        for (const std::string& line : RecordLinesOf(f.records, unit.recordSection)) {
            const RecordEntry e = ParseRecordLine(line);
            if (!SoundRecord(e)) {
                ++out.damaged;
                continue;
            }
            if (e.similar < 0 || e.similar >= kQuestionVariants ||
                count[static_cast<std::size_t>(e.similar)] != static_cast<int>(e.marks.size())) {
                ++out.mismatched;
                continue;
            }
            const auto v = static_cast<std::size_t>(e.similar);
            if (runs == RunsCounted::First && seen[v]) continue;
            seen[v] = true;
            counted = true;
            for (std::size_t k = 0; k < e.marks.size(); ++k) {
                BlankResult& r = out.blanks[first[v] + k];
                ++r.counted;
                if (e.marks[k] == 'O') {
                    ++r.correct;
                } else if (r.missedBy.empty() || r.missedBy.back() != f.learner) {
                    r.missedBy.push_back(f.learner);
                }
            }
        }
        if (counted) ++out.learners;
    }
    return out;
}

std::vector<std::optional<std::vector<std::string>>> ReadSectionFiles(
    const std::vector<std::string>& paths) {
    std::vector<std::optional<std::vector<std::string>>> files;
    files.reserve(paths.size());
    for (const std::string& path : paths)
        files.push_back(path.empty() || !FileExists(path) ? std::nullopt : ReadLines(path));
    return files;
}

LessonResults ResultsOfLesson(
    const LessonOutline& outline,
    const std::vector<std::optional<std::vector<std::string>>>& sectionFiles,
    const std::vector<LearnerFile>& files, RunsCounted runs,
    const std::function<bool(const LessonUnit&)>& afterUnit) {
    LessonResults out;
    out.units.reserve(outline.units.size());
    for (const LessonUnit& u : outline.units) {
        const auto s = static_cast<std::size_t>(u.section - 1);
        UnitQuestions questions;
        if (u.section >= 1 && s < sectionFiles.size() && sectionFiles[s])
            questions = QuestionsOfUnit(*sectionFiles[s], u.unit);
        out.units.push_back(ResultsOfUnit(u, std::move(questions), files, runs));
        out.mismatched += out.units.back().mismatched;
        out.damaged += out.units.back().damaged;
        if (afterUnit && !afterUnit(u)) break;
    }
    return out;
}

namespace {

// Lower rate first, then more learners who missed it; false when neither decides.
bool RanksBefore(const BlankResult& a, const BlankResult& b) {
    if ((a.counted > 0) != (b.counted > 0)) return a.counted > 0;
    if (a.counted == 0) return false;
    const long long left = 1LL * a.correct * b.counted, right = 1LL * b.correct * a.counted;
    if (left != right) return left < right;
    return a.missed() > b.missed();
}

}  // namespace

std::vector<std::size_t> RankedBlanks(const UnitResults& results) {
    std::vector<std::size_t> order(results.blanks.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return RanksBefore(results.blanks[a], results.blanks[b]);
    });
    return order;
}

std::vector<BlankPlace> MostMissed(const LessonResults& results, std::size_t limit) {
    std::vector<BlankPlace> places;
    for (std::size_t u = 0; u < results.units.size(); ++u)
        for (std::size_t b = 0; b < results.units[u].blanks.size(); ++b)
            if (results.units[u].blanks[b].missed() > 0) places.push_back({u, b});
    auto before = [&](const BlankPlace& a, const BlankPlace& b) {
        return RanksBefore(results.units[a.unit].blanks[a.blank],
                           results.units[b.unit].blanks[b.blank]);
    };
    // Only the first limit need to be in order; the rest are dropped.
    const std::size_t kept = std::min(limit, places.size());
    std::partial_sort(places.begin(), places.begin() + static_cast<std::ptrdiff_t>(kept),
                      places.end(), [&](const BlankPlace& a, const BlankPlace& b) {
                          if (before(a, b)) return true;
                          if (before(b, a)) return false;
                          return a.unit != b.unit ? a.unit < b.unit : a.blank < b.blank;
                      });
    places.resize(kept);
    return places;
}

std::string QuestionsCsv(int lesson, const LessonResults& results) {
    std::string out = "\xEF\xBB\xBF";
    out += "lesson,section,unit,similar,blank,answer,question,learners,correct,rate\r\n";
    for (const UnitResults& u : results.units) {
        for (const std::size_t i : RankedBlanks(u)) {
            const BlankResult& r = u.blanks[i];
            const int rate = RatePercent(r);
            out.append(std::to_string(lesson))
                .append(",")
                .append(std::to_string(u.unit.section))
                .append(",")
                .append(std::to_string(u.unit.unit))
                .append(",")
                .append(std::to_string(r.similar))
                .append(",")
                .append(std::to_string(r.blank.blank))
                .append(",")
                .append(CsvField(Cp932ToUtf8(r.blank.answer)))
                .append(",")
                .append(CsvField(Cp932ToUtf8(r.blank.question)))
                .append(",")
                .append(std::to_string(r.counted))
                .append(",")
                .append(std::to_string(r.correct))
                .append(",")
                .append(rate < 0 ? std::string() : std::to_string(rate))
                .append("\r\n");
        }
    }
    return out;
}

}  // namespace sulkan
