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

}  // namespace sulkan
