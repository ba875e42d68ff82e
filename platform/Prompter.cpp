#include "Prompter.h"

namespace sulkan {

namespace {
Answer Next(std::deque<Answer>& answers, Answer otherwise) {
    if (answers.empty()) return otherwise;
    Answer a = answers.front();
    answers.pop_front();
    return a;
}
}  // namespace

void ScriptedPrompter::message(const std::string& text) {
    shown.push_back(text);
}

Answer ScriptedPrompter::yesNo(const std::string& text) {
    shown.push_back(text);
    return Next(answers, Answer::No);
}

Answer ScriptedPrompter::yesNoCancel(const std::string& text) {
    shown.push_back(text);
    return Next(answers, Answer::Cancel);
}

std::optional<std::string> ScriptedPrompter::saveFileName(const std::string& initialFolder,
                                                          const std::string&) {
    dialogFolders.push_back(initialFolder);
    if (fileNames.empty()) return std::nullopt;
    auto name = fileNames.front();
    fileNames.pop_front();
    return name;
}

}  // namespace sulkan
