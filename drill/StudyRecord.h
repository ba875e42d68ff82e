// The record of a graded run: the line kept in the learner's record file, and the small interface
// the drill writes it through and reads a unit's lines back from.
#pragma once

#include <string>
#include <vector>

#include "LineFile.h"
#include "Result.h"
#include "TextRoutines.h"

namespace sulkan {

struct StudyRun {
    std::string prefix;  // "類題1)" for a similar problem, otherwise empty (CP932)
    LocalTime when;
    std::string marks;  // one of "O", "x", "X" per blank
    int correct = 0;
    int total = 0;
    int score = 0;
    int elapsedSeconds = 0;
};

// "mm:ss", two digits each (minutes from 100 on take three).
std::string ElapsedText(int seconds);
// prefix + date, time, marks, "%2d/%2d %3d点", time taken, joined by single blanks. CP932.
std::string StudyRecordLine(const StudyRun& run);
// "類題" + number + ")" for a similar problem, empty for the unit itself.
std::string SimilarPrefix(int similar);

// Where a unit's records are kept and how they are read back.
class StudyRecordSink {
public:
    virtual ~StudyRecordSink() = default;
    // Adds one record line after the unit's last one.
    virtual Result<> append(const std::string& line) = 0;
    // The unit's record lines in the order they were written.
    virtual std::vector<std::string> lines() const = 0;
};

// One section of the learner's record file of a lesson: keys "1", "2", ... in the order of the
// runs, a new one after the largest. An empty path means there is no usable record file; writing
// then fails with a message. Lines are read from readFiles (the places older records of the
// learner may lie, RecordFileCandidates) merged, and always from the file written to.
class ProfileRecordSink : public StudyRecordSink {
public:
    ProfileRecordSink(std::string filePath, std::string section,
                      std::vector<std::string> readFiles = {})
        : m_path(std::move(filePath)),
          m_section(std::move(section)),
          m_readFiles(std::move(readFiles)) {}

    Result<> append(const std::string& line) override;
    std::vector<std::string> lines() const override;

    const std::string& section() const { return m_section; }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
    std::string m_section;
    std::vector<std::string> m_readFiles;
};

}  // namespace sulkan
