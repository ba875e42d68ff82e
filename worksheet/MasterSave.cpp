#include "MasterSave.h"

#include <cstddef>
#include <utility>
#include <vector>

#include "FileChecks.h"
#include "LayoutParams.h"
#include "LineFile.h"
#include "MessagePaths.h"
#include "QuestionFile.h"
#include "Sjis.h"
#include "UnitAddress.h"

namespace sulkan {
namespace {

void TakeWorksheetState(UnitBlocks& blocks, const Worksheet& worksheet) {
    blocks.value = ValueLines(worksheet.params);
    blocks.font = FontLines(worksheet.params);
    blocks.kran = KranLines(worksheet.params);
    blocks.graph = worksheet.content.questionFigures;
    blocks.agraph = worksheet.content.answerFigures;
}

}  // namespace

MasterBytes MasterFileBytes(const std::string& fileBytes, const Worksheet& worksheet) {
    const std::string header = UnitHeaderOf(worksheet.address);
    const std::vector<std::string> lines = SplitLines(fileBytes);
    const auto at = LocateUnit(lines, header);
    UnitBlocks blocks;
    if (at) {
        if (const Result<> rewritable = UnitRewriteProblem(lines, *at); !rewritable)
            return {{}, rewritable.problem()};
        blocks = ReadUnit(lines, *at);
    } else {
        // The unit has gone from the file since it was opened: append it from the worksheet.
        blocks.ques = worksheet.content.questionLines;
        blocks.kgroup = worksheet.content.kgroup;
        blocks.softKeyB = worksheet.content.softKey;
    }
    TakeWorksheetState(blocks, worksheet);
    // An unchanged unit keeps its lines as they stand, in their own order.
    UnitSplice spliced = SpliceUnit(fileBytes, header, blocks, /*keepUnchanged=*/true);
    return {std::move(spliced.bytes), std::move(spliced.problem)};
}

MasterSaveStatus OverwriteMaster(Worksheet& worksheet, Prompter& prompter) {
    if (!worksheet.isMaster || worksheet.isCopy) return MasterSaveStatus::NotMaster;
    const std::string& path = worksheet.filePath;
    if (!FileExists(path)) {
        prompter.message(FileMissingText(NativeSeparators(path)));
        return MasterSaveStatus::Failed;
    }
    const auto bytes = ReadBytes(path);
    if (!bytes) {
        prompter.message(CannotReadText(NativeSeparators(path)));
        return MasterSaveStatus::Failed;
    }
    const MasterBytes rewritten = MasterFileBytes(*bytes, worksheet);
    if (rewritten.problem) {
        prompter.message(sjis("ファイル ") + NativeSeparators(path) + sjis(" に保存できません：") +
                         rewritten.problem->message);
        return MasterSaveStatus::Failed;
    }
    const Result<> saved = WriteBytes(path, rewritten.bytes);
    if (!saved) {
        prompter.message(WithNativePath(saved.problem().message, path));
        return MasterSaveStatus::Failed;
    }
    worksheet.modified = false;
    return MasterSaveStatus::Saved;
}

}  // namespace sulkan
