#include "ClassQuestions.h"

#include "UnitAddress.h"

namespace sulkan {

std::vector<std::string> SectionQuestionFiles(const std::string& programFolder,
                                              const CourseTables& tables, int lesson,
                                              int sectionCount) {
    std::vector<std::string> paths;
    for (int section = 1; section <= sectionCount; ++section) {
        const UnitAddress address{lesson, section, 1, 0};
        if (!QuestionFileProblem(programFolder, tables, address))
            paths.emplace_back();
        else
            paths.push_back(UnitFileNames(programFolder, tables, address).questionFile);
    }
    return paths;
}

}  // namespace sulkan
