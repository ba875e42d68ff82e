// Message boxes: only the Japanese text, no title of their own.
#pragma once

#include <deque>
#include <string>
#include <vector>

namespace sulkan {

enum class Answer { Yes, No, Cancel };

class Prompter {
public:
    virtual ~Prompter() = default;
    // Texts are CP932 bytes.
    virtual void message(const std::string& text) = 0;
    virtual Answer yesNo(const std::string& text) = 0;
    virtual Answer yesNoCancel(const std::string& text) = 0;
};

// Answers questions from a script and records every text shown, for tests.
class ScriptedPrompter : public Prompter {
public:
    void message(const std::string& text) override;
    Answer yesNo(const std::string& text) override;
    Answer yesNoCancel(const std::string& text) override;

    std::deque<Answer> answers;  // taken in order; when empty, No (or Cancel) is given
    std::vector<std::string> shown;
};

}  // namespace sulkan
