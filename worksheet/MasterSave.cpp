#include "MasterSave.h"

#include <cstddef>
#include <utility>
#include <vector>

#include "FileChecks.h"
#include "LayoutParams.h"
#include "LineFile.h"
#include "QuestionFile.h"
#include "Sjis.h"
#include "UnitAddress.h"

namespace sulkan {
namespace {

// Lines as SplitLines cuts them, plus where each one starts in the bytes; the last start is the
// end of the bytes, so line i with its line end is [starts[i], starts[i + 1]).
struct CutLines {
    std::vector<std::string> lines;
    std::vector<std::size_t> starts;
};

CutLines Cut(const std::string& bytes) {
    CutLines cut;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') continue;
        cut.lines.emplace_back(bytes, start, i - start);
        cut.starts.push_back(start);
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) {
        cut.lines.emplace_back(bytes, start);
        cut.starts.push_back(start);
    }
    cut.starts.push_back(bytes.size());
    return cut;
}

void TakeWorksheetState(UnitBlocks& blocks, const Worksheet& worksheet) {
    blocks.value = ValueLines(worksheet.params);
    blocks.font = FontLines(worksheet.params);
    blocks.kran = KranLines(worksheet.params);
    blocks.graph = worksheet.questionFigures;
    blocks.agraph = worksheet.answerFigures;
}

}  // namespace

MasterBytes MasterFileBytes(const std::string& fileBytes, const Worksheet& worksheet) {
    const std::string header = UnitHeaderOf(worksheet.address);
    const CutLines cut = Cut(fileBytes);
    const auto at = LocateUnit(cut.lines, header);
    UnitBlocks blocks;
    if (at) {
        if (auto problem = UnitRewriteProblem(cut.lines, *at)) return {{}, std::move(problem)};
        blocks = ReadUnit(cut.lines, *at);
    } else {
        // The unit has gone from the file since it was opened: append it from the worksheet.
        if (auto problem = AppendProblem(cut.lines)) return {{}, std::move(problem)};
        blocks.ques = worksheet.questionLines;
        blocks.kgroup = worksheet.kgroup;
        blocks.softKeyB = worksheet.softKey;
    }
    const UnitBlocks asRead = blocks;
    TakeWorksheetState(blocks, worksheet);
    if (auto problem = UnwritableContent(blocks)) return {{}, std::move(problem)};
    if (!at) {
        std::string out = fileBytes;
        if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += "\r\n";
        return {out + JoinLines(UnitLines(header, blocks, UnitOrder::New)), std::nullopt};
    }
    if (blocks == asRead) return {fileBytes, std::nullopt};
    const std::size_t end = UnitEnd(cut.lines, *at);
    return {fileBytes.substr(0, cut.starts[*at]) +
                JoinLines(RewrittenUnitLines(cut.lines, *at, blocks)) +
                fileBytes.substr(cut.starts[end]),
            std::nullopt};
}

MasterSaveStatus OverwriteMaster(Worksheet& worksheet, Prompter& prompter) {
    if (!worksheet.isMaster || worksheet.isCopy) return MasterSaveStatus::NotMaster;
    const std::string& path = worksheet.filePath;
    if (!FileExists(path)) {
        prompter.message(FileMissingText(path));
        return MasterSaveStatus::Failed;
    }
    const auto bytes = ReadBytes(path);
    if (!bytes) {
        prompter.message(sjis("ファイル ") + path + sjis(" を読み込めません"));
        return MasterSaveStatus::Failed;
    }
    const MasterBytes rewritten = MasterFileBytes(*bytes, worksheet);
    if (rewritten.refused) {
        prompter.message(sjis("ファイル ") + path + sjis(" に保存できません：") +
                         *rewritten.refused);
        return MasterSaveStatus::Failed;
    }
    const SaveResult saved = WriteBytes(path, rewritten.bytes);
    if (!saved) {
        prompter.message(saved.error);
        return MasterSaveStatus::Failed;
    }
    worksheet.modified = false;
    return MasterSaveStatus::Saved;
}

}  // namespace sulkan
