// Prompter over QMessageBox.
#pragma once

#include <QWidget>

#include "Prompter.h"

namespace sulkan {

class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    void message(const std::string& text) override;
    Answer yesNo(const std::string& text) override;
    Answer yesNoCancel(const std::string& text) override;
    std::optional<std::string> saveFileName(const std::string& initialFolder,
                                            const std::string& pattern) override;

private:
    QWidget* m_parent;
};

}  // namespace sulkan
