// Handwritten characters recognised on the machine: strokes drawn on a square pad in, candidate
// characters out, through the zinnia engine and its Japanese model when both are installed.
#pragma once

#include <string>
#include <vector>

namespace sulkan {

struct HandPoint {
    int x;
    int y;
};
using HandStroke = std::vector<HandPoint>;

// The Debian package that provides the Japanese model, named to the learner when it is missing.
inline constexpr const char* kHandwritingModelPackage = "tegaki-zinnia-japanese";

// Candidates for the character drawn on a square pad of padSize pixels (origin top left),
// best first, as CP932 bytes; empty when nothing is drawn or no model is installed.
std::vector<std::string> RecognizeHandwriting(const std::vector<HandStroke>& strokes, int padSize,
                                              int count);

// The engine's own reading of the strokes as drawn, neither moved nor scaled: what the pad's
// recognition is measured against.
std::vector<std::string> RecognizeUnscaled(const std::vector<HandStroke>& strokes, int padSize,
                                           int count);

// The model file; the installed package's file unless another was set. Setting a path drops a
// model already loaded, so the next recognition loads the new one.
std::string HandwritingModelPath();
void SetHandwritingModelPath(const std::string& path);
// The engine is built in and its model file is there.
bool HandwritingAvailable();
// Loads the model now rather than on the first recognition; false when it cannot be loaded.
bool LoadHandwritingModel();

// The strokes moved and scaled so that their box, its proportions kept, is centred on the pad and
// its longer side is half the pad: the model knows characters of that size, and a character
// drawn small, large or off-centre is then recognised the same.
std::vector<HandStroke> NormalizedStrokes(const std::vector<HandStroke>& strokes, int padSize);

}  // namespace sulkan
