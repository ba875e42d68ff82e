#include "StudyRecord.h"

#include <cstdio>

#include "ProfileFile.h"
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

SaveResult ProfileRecordSink::append(const std::string& line) {
    if (m_path.empty()) return {false, sjis("学習の記録を書き込む場所がありません"), {}};
    if (SaveResult folder = PrepareRecordFolder(m_path); !folder) return folder;
    // Counting and appending under one lock, so two learners' programs never take one key.
    return ProfileFile(m_path).update([&](ProfileLines& profile) {
        const std::size_t n = profile.keys(m_section).size() + 1;
        return profile.write(m_section, IntText(static_cast<long long>(n)), line);
    });
}

std::vector<std::string> ProfileRecordSink::lines() const {
    std::vector<std::string> out;
    if (m_path.empty()) return out;
    const ProfileLines profile = ProfileFile(m_path).load();
    const std::size_t k = profile.keys(m_section).size();
    for (std::size_t i = 1; i <= k; ++i)
        out.push_back(profile.read(m_section, IntText(static_cast<long long>(i)), "?"));
    return out;
}

}  // namespace sulkan
