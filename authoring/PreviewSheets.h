// The question editor's live preview: the question sheet and the answer sheet, each drawn to fit
// the pane under its caption.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "EditorPreview.h"

namespace sulkan {

class PreviewSheets : public QWidget {
public:
    explicit PreviewSheets(QWidget* parent = nullptr);
    // The area the sheets are to be drawn for.
    PreviewArea area() const;
    void setSheets(const EditorPreview& sheets);
    // As last drawn, at the size shown; null before the first drawing.
    const QImage& questionSheet() const { return m_sheets.questionSheet; }
    const QImage& answerSheet() const { return m_sheets.answerSheet; }
    const PreviewPlacement& place() const { return m_sheets.place; }
    // Called when the pane's size changes: the sheets are to be drawn again for it.
    std::function<void()> ResizedHook;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    EditorPreview m_sheets;
};

}  // namespace sulkan
