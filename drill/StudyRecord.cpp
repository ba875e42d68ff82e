#include "StudyRecord.h"

#include <algorithm>
#include <cstdio>

#include "ProfileFile.h"
#include "RecordFile.h"
#include "RecordStore.h"
#include "Sjis.h"

namespace sulkan {

std::string ElapsedText(int seconds) {
    if (seconds < 0) seconds = 0;
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d", seconds / 60, seconds % 60);
    return text;
}

std::string SimilarPrefix(int similar) {
    if (similar < 1) return {};
    return sjis("類題") + IntText(similar) + ")";
}

std::string StudyRecordLine(const StudyRun& run) {
    char result[32];
    std::snprintf(result, sizeof result, "%2d/%2d %3d", run.correct, run.total, run.score);
    return run.prefix + JapaneseDateStamp(run.when) + " " + TimeStamp(run.when) + " " + run.marks +
           " " + result + sjis("点") + " " + ElapsedText(run.elapsedSeconds);
}

Result<> ProfileRecordSink::append(const std::string& line) {
    if (m_path.empty()) return Problem{sjis("学習の記録を書き込む場所がありません")};
    // A section the file cannot hold is said before anything is touched; never a silent success.
    if (const Result<> named = ProfileNameProblem(m_section, "1"); !named) {
        const std::string& problem = named.problem().message;
        return Problem{sjis("ファイル ") + m_path + sjis(" を保存できませんでした：") + problem,
                       problem};
    }
    if (Result<> folder = PrepareRecordFolder(m_path); !folder) return folder;
    // Choosing the key and appending under one lock, so two learners' programs never take one key.
    bool refused = false;
    Result<> saved = ProfileFile(m_path).update([&](ProfileLines& profile) {
        refused = !profile.write(m_section, NextRecordKey(profile, m_section), line);
        return !refused;
    });
    if (saved && refused)
        return Problem{sjis("ファイル ") + m_path + sjis(" を保存できませんでした")};
    return saved;
}

std::vector<std::string> ProfileRecordSink::lines() const {
    if (m_path.empty()) return {};
    std::vector<std::string> files = m_readFiles;
    if (std::find(files.begin(), files.end(), m_path) == files.end()) files.push_back(m_path);
    return RecordLinesOf(LoadRecordFiles(files), m_section);
}

}  // namespace sulkan
