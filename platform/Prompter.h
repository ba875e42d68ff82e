// Message boxes: only the Japanese text, no title of their own.
#pragma once

#include <deque>
#include <optional>
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
    // The standard save dialog, opened in initialFolder with a file pattern such as "*.skn".
    // Returns the chosen path (CP932), or nothing when cancelled.
    virtual std::optional<std::string> saveFileName(const std::string& initialFolder,
                                                    const std::string& pattern) = 0;
};

// Answers questions from a script and records every text shown, for tests.
class ScriptedPrompter : public Prompter {
public:
    void message(const std::string& text) override;
    Answer yesNo(const std::string& text) override;
    Answer yesNoCancel(const std::string& text) override;
    std::optional<std::string> saveFileName(const std::string& initialFolder,
                                            const std::string& pattern) override;

    std::deque<Answer> answers;  // taken in order; when empty, No (or Cancel) is given
    std::vector<std::string> shown;
    // Save dialogs: each answer is a path or a cancel; when empty, cancelled. The folders the
    // dialogs were opened in are recorded.
    std::deque<std::optional<std::string>> fileNames;
    std::vector<std::string> dialogFolders;
};

}  // namespace sulkan
