#include "RecordSources.h"

#include <algorithm>

#include "ClassQuestions.h"
#include "ContainedPath.h"
#include "LineFile.h"
#include "RecordFile.h"
#include "RecordWindowSources.h"
#include "RecordsCommand.h"

namespace sulkan {

KirokuSource RecordViewerSource(const AppState& s) {
    const int lesson = std::max(1, s.CurrentUnit.lesson);
    KirokuSource source;
    source.learnerName = s.LearnerName;
    source.recordFile = RecordFilePath(s.ProgramFolder, s.Course, s.LearnerName, lesson,
                                       s.RunFromCdRom, s.RecordsFolder);
    source.recordFiles = RecordFileCandidates(s.ProgramFolder, s.Course, s.LearnerName, lesson,
                                              s.RunFromCdRom, s.RecordsFolder);
    // The runs of every copy file are filed under lesson 1, whichever lesson keeps the file.
    source.copyRecordFile = RecordFilePath(s.ProgramFolder, s.Course, s.LearnerName, 1,
                                           s.RunFromCdRom, s.RecordsFolder);
    source.copyRecordFiles = RecordFileCandidates(s.ProgramFolder, s.Course, s.LearnerName, 1,
                                                  s.RunFromCdRom, s.RecordsFolder);
    source.lessonIndexPath = LessonIndexPathOf(s.ProgramFolder, s.Course, lesson);
    // Copy files live in the lesson's folder.
    const std::string folder = LessonFolderOf(s.ProgramFolder, s.Course, lesson);
    for (const std::string& name : ListFiles(folder, "*.skn"))
        if (PathInside(folder, name, NameShape::FileName)) source.copyFileNames.push_back(name);
    return source;
}

ClassRecordsSource ClassRecordsSourceOf(const AppState& s, int lesson) {
    ClassRecordsSource source;
    source.lesson = lesson;
    source.lessonIndexPath = LessonIndexPathOf(s.ProgramFolder, s.Course, lesson);
    source.learners =
        LessonRecordFiles(s.ProgramFolder, s.Course, lesson, s.RunFromCdRom, s.RecordsFolder);
    source.saveFolder = s.RecordsFolder;
    if (auto index = ReadLines(source.lessonIndexPath))
        source.questionFiles =
            SectionQuestionFiles(s.ProgramFolder, s.Course, lesson,
                                 static_cast<int>(OutlineOfLesson(*index).sectionTitles.size()));
    return source;
}

}  // namespace sulkan
