// A window stand-in for the drill engine's tests: recording canvases for the images, and a log of
// every focus, message and dialog the engine asks for.
#pragma once

#include <string>
#include <vector>

#include "DrillEngine.h"
#include "RecordingCanvas.h"
#include "Sjis.h"

namespace sulkan::test {

class FakeFrontEnd : public DrillFrontEnd {
public:
    void boxesChanged() override {}
    void panelsChanged() override {}
    void focusBox(int blank, Caret caret) override {
        focusedBox = blank;
        lastCaret = caret;
        focusedButton.reset();
    }
    void focusButton(DrillButton button) override { focusedButton = button; }
    void renderSheet(bool result) override {
        sheet.ops.clear();
        renders.push_back(result);
    }
    Canvas& sheetCanvas() override { return sheet; }
    Canvas& messageCanvas(MessageImage image) override {
        return image == MessageImage::RecordPanel ? mess : messXX;
    }
    void imagesChanged() override {}
    BlankFrame frameOf(int blank) override {
        // Every blank 40 wide and 20 high, one line of 50 units per blank.
        const int top = 50 * blank;
        BlankFrame f;
        f.base = {100, top, 140, top + 20};
        f.enlarged = {100, top - 5, 150, top + 30};
        return f;
    }
    void message(const std::string& text) override { messages.push_back(text); }
    void showAllCorrect() override { ++allCorrectShown; }
    void showMascot(Mascot mascot) override { mascots.push_back(mascot); }
    void showUnitRecords() override { ++recordShows; }
    void recordWritten() override { ++recordsWritten; }
    void scrollToTop() override {}
    void timerRunning(bool running) override { timer = running; }
    void choicesChanged() override {}

    // Ellipses and lines drawn on the sheet since the last rendering.
    int count(RecordingCanvas::Kind kind) const {
        int n = 0;
        for (const auto& op : sheet.ops) n += op.kind == kind;
        return n;
    }
    // The text an image shows now: what was drawn after it was last cleared.
    static std::string shown(const RecordingCanvas& canvas) {
        std::string text;
        for (const auto& op : canvas.ops) {
            if (op.kind == RecordingCanvas::Kind::Fill) text.clear();
            if (op.kind == RecordingCanvas::Kind::Text) text += op.text;
        }
        return text;
    }
    bool messageShown(const char* utf8) const {
        for (const std::string& m : messages)
            if (m == sjis(utf8)) return true;
        return false;
    }

    RecordingCanvas sheet{630, 891};
    RecordingCanvas mess{300, 200};
    RecordingCanvas messXX{300, 200};
    int focusedBox = 0;
    Caret lastCaret = Caret::Start;
    std::optional<DrillButton> focusedButton;
    std::vector<bool> renders;
    std::vector<std::string> messages;
    std::vector<Mascot> mascots;
    int allCorrectShown = 0;
    int recordShows = 0;
    int recordsWritten = 0;
    bool timer = false;
};

// Records every line appended, in memory.
class MemoryRecords : public StudyRecordSink {
public:
    Result<> append(const std::string& line) override {
        written.push_back(line);
        return {};
    }
    std::vector<std::string> lines() const override { return written; }
    std::vector<std::string> written;
};

}  // namespace sulkan::test
