#include "IndexEditing.h"

#include "CourseTree.h"
#include "Sjis.h"
#include "TextRoutines.h"

namespace sulkan {

namespace {

constexpr std::string_view kEndOfList = ">>";

EditResult Refused(std::string message) {
    return {EditStatus::Refused, Problem(std::move(message)), 0, 0};
}

EditResult Ignored() {
    return {EditStatus::Ignored, {}, 0, 0};
}

EditResult Done(int section, int unit) {
    return {EditStatus::Done, {}, section, unit};
}

EditResult NotFound(int section) {
    return {EditStatus::NotFound, Problem(SectionNotFoundText(section)), section, 0};
}

// The block of section k when it can be edited here.
std::optional<IndexBlock> EditableBlock(const std::vector<std::string>& lines, int section) {
    const auto blocks = IndexBlocks(lines);
    if (section < 1 || static_cast<std::size_t>(section) > blocks.size()) return std::nullopt;
    const IndexBlock& block = blocks[static_cast<std::size_t>(section - 1)];
    if (!block.editable) return std::nullopt;
    return block;
}

}  // namespace

EditorLessonTable ReadEditorLessons(const std::vector<std::string>& mainIndLines) {
    EditorLessonTable table;
    if (!mainIndLines.empty()) table.courseTitle = mainIndLines[0];
    for (std::size_t n = 2; n < mainIndLines.size() && mainIndLines[n] != kEndOfList; ++n) {
        if (table.lessons.size() == static_cast<std::size_t>(kMaxSlots)) break;
        LessonLine parsed = ParseLessonLine(mainIndLines[n]);
        EditorLesson lesson;
        lesson.title = std::move(parsed.title);
        lesson.line = mainIndLines[n];
        if (parsed.valid) {
            lesson.folder = std::move(parsed.folder);
            lesson.baseName = std::move(parsed.baseName);
        } else if (!parsed.refusal.empty()) {
            lesson.refusal = std::move(parsed.refusal);
        } else {
            // Without a folder there is no file to edit: writing to the program folder's ".ind"
            // would only make a stray file.
            lesson.refusal = sjis("Main.ind の") + IntText(static_cast<long long>(n) + 1) +
                             sjis(
                                 "行目の課にはフォルダ（「,」の後の「\\」）がないため、"
                                 "編集できません");
        }
        table.lessons.push_back(std::move(lesson));
    }
    return table;
}

std::string EditorIndexPath(const std::string& programFolder, const EditorLesson& lesson) {
    return programFolder + lesson.folder + lesson.baseName + ".ind";
}

std::string EditorQuestionPath(const std::string& programFolder, const EditorLesson& lesson,
                               int section) {
    return programFolder + lesson.folder + lesson.baseName + IntText(section) + ".que";
}

std::vector<std::string> NewLessonIndexTemplate() {
    return {sjis("ここにタイトルをかいてください"),
            "[[sect1",
            sjis("ここは主メニュー"),
            "<<",
            sjis("ここは副メニュー"),
            ">>",
            "]]"};
}

std::vector<IndexBlock> IndexBlocks(const std::vector<std::string>& lines) {
    std::vector<IndexBlock> blocks;
    const std::size_t count = lines.size();
    std::size_t i = 0;
    while (i < count) {
        if (!lines[i].starts_with("[[")) {
            ++i;
            continue;
        }
        IndexBlock block;
        block.open = i;
        if (i + 1 < count) block.title = lines[i + 1];
        block.firstUnit = i + 3;
        std::size_t u = block.firstUnit;
        for (; u < count && lines[u] != kEndOfList; ++u) block.units.push_back(lines[u]);
        block.end = std::min(u, count);
        block.closed = u < count;
        // A block cut off before its unit list has no place where a unit could go.
        block.editable = lines[i].starts_with("[[sect") && block.firstUnit <= count;
        i = block.closed ? u + 1 : count;
        blocks.push_back(std::move(block));
    }
    return blocks;
}

Result<> TitleFault(const std::string& title, TitleKind kind) {
    if (title.find_first_of("\r\n") != std::string::npos)
        return Problem(sjis("題名に改行は使えません"));
    if (title.starts_with("[["))
        return Problem(sjis("「[[」で始まる題名は使えません（節の始まりの行と読まれます）：") +
                       title);
    if (kind == TitleKind::Unit && title == kEndOfList)
        return Problem(sjis("「>>」だけの題名は使えません（単元の一覧の終わりの行と読まれます）"));
    return {};
}

std::optional<std::vector<std::string>> SectionUnits(const std::vector<std::string>& lines,
                                                     int section) {
    auto block = EditableBlock(lines, section);
    if (!block) return std::nullopt;
    return std::move(block->units);
}

EditResult AddSection(std::vector<std::string>& lines, const std::string& title) {
    if (title.empty()) return Ignored();
    if (Result<> fits = TitleFault(title, TitleKind::Section); !fits)
        return Refused(fits.problem().message);
    const auto blocks = IndexBlocks(lines);
    if (blocks.size() >= static_cast<std::size_t>(kMaxSlots))
        return Refused(sjis("節は80までです。これ以上追加できません"));
    // Appended after a list without its ">>", the new block would read as more unit titles.
    if (!blocks.empty() && !blocks.back().closed)
        return Refused(sjis("最後の節「") + blocks.back().title +
                       sjis("」の単元の一覧に終わりの「>>」がないため、節を追加できません。"
                            "ソースの直接編集で直してください"));
    const int n = static_cast<int>(blocks.size()) + 1;
    const std::string number = IntText(n);
    lines.insert(lines.end(), {"[[sect" + number, title, "<<", "SubMenu New" + number, ">>", "]]"});
    return Done(n, 1);
}

EditResult RenameSection(std::vector<std::string>& lines, int section, const std::string& title) {
    if (Result<> fits = TitleFault(title, TitleKind::Section); !fits)
        return Refused(fits.problem().message);
    const auto block = EditableBlock(lines, section);
    if (!block) return NotFound(section);
    lines[block->open + 1] = title;
    return Done(section, 0);
}

EditResult AddUnit(std::vector<std::string>& lines, int section, const std::string& title) {
    if (title.empty()) return Ignored();
    if (Result<> fits = TitleFault(title, TitleKind::Unit); !fits)
        return Refused(fits.problem().message);
    const auto block = EditableBlock(lines, section);
    if (!block) return NotFound(section);
    if (block->units.size() >= static_cast<std::size_t>(kMaxSlots))
        return Refused(sjis("単元は1つの節に80までです。これ以上追加できません"));
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(block->end), title);
    return Done(section, static_cast<int>(block->units.size()) + 1);
}

EditResult RenameUnit(std::vector<std::string>& lines, int section, int unit,
                      const std::string& title) {
    if (title.empty()) return Ignored();
    if (Result<> fits = TitleFault(title, TitleKind::Unit); !fits)
        return Refused(fits.problem().message);
    const auto block = EditableBlock(lines, section);
    if (!block) return NotFound(section);
    if (unit < 1 || static_cast<std::size_t>(unit) > block->units.size())
        return Refused(sjis("変更する項目をクリックしてください"));
    lines[block->firstUnit + static_cast<std::size_t>(unit - 1)] = title;
    return Done(section, unit);
}

std::string SectionNotFoundText(int section) {
    return sjis("not found（") + IntText(section) +
           sjis("番目の節の始まりの行「[[sect」が見つかりません）");
}

}  // namespace sulkan
