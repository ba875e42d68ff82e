#include "Handwriting.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <mutex>
#include <system_error>

#include "Codec.h"

#ifdef SULKAN_HAVE_ZINNIA
#include <zinnia.h>
#endif

namespace sulkan {
namespace {

constexpr const char* kDefaultModel = "/usr/share/tegaki/models/zinnia/handwriting-ja.model";
// Share of the pad the longer side of a character's box is scaled to. The model's metadata names
// no pad size, and the engine reads points relative to the width and height it is given, so the
// share was measured: from 0.5 to 0.6 of the pad the first-year and school kanji are ranked at
// least as well as by the engine on the strokes as drawn; 0.5 keeps the most first-year kanji
// among the ten candidates (docs/decisions.md has the figures).
constexpr double kCharacterShare = 0.5;

struct Engine {
    std::mutex mutex;
    std::string path = kDefaultModel;
#ifdef SULKAN_HAVE_ZINNIA
    std::unique_ptr<zinnia::Recognizer> recognizer;
#endif
    bool failed = false;  // the file at path could not be opened: not tried again
};

Engine& TheEngine() {
    static Engine engine;
    return engine;
}

// The normalised strokes go to the engine in sixteenths of a pixel, so that rounding them does
// not move a character drawn small more than one drawn large.
constexpr int kSubPixels = 16;

#ifdef SULKAN_HAVE_ZINNIA
// Candidates asked for beyond the count, to make up for those CP932 cannot hold.
constexpr int kSpareCandidates = 10;

bool FileThere(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

// With the engine's mutex held.
zinnia::Recognizer* Loaded(Engine& e) {
    if (e.recognizer) return e.recognizer.get();
    if (e.failed || !FileThere(e.path)) return nullptr;
    std::unique_ptr<zinnia::Recognizer> r(zinnia::Recognizer::create());
    if (!r || !r->open(e.path.c_str())) {
        e.failed = true;
        return nullptr;
    }
    e.recognizer = std::move(r);
    return e.recognizer.get();
}
#endif

}  // namespace

std::string HandwritingModelPath() {
    Engine& e = TheEngine();
    const std::lock_guard lock(e.mutex);
    return e.path;
}

void SetHandwritingModelPath(const std::string& path) {
    Engine& e = TheEngine();
    const std::lock_guard lock(e.mutex);
    e.path = path;
    e.failed = false;
#ifdef SULKAN_HAVE_ZINNIA
    e.recognizer.reset();
#endif
}

bool HandwritingAvailable() {
#ifdef SULKAN_HAVE_ZINNIA
    return FileThere(HandwritingModelPath());
#else
    return false;
#endif
}

bool LoadHandwritingModel() {
#ifdef SULKAN_HAVE_ZINNIA
    Engine& e = TheEngine();
    const std::lock_guard lock(e.mutex);
    return Loaded(e) != nullptr;
#else
    return false;
#endif
}

std::vector<HandStroke> NormalizedStrokes(const std::vector<HandStroke>& strokes, int padSize) {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool any = false;
    for (const HandStroke& s : strokes) {
        for (const HandPoint& p : s) {
            if (!any) {
                x0 = x1 = p.x;
                y0 = y1 = p.y;
                any = true;
            }
            x0 = std::min(x0, p.x);
            x1 = std::max(x1, p.x);
            y0 = std::min(y0, p.y);
            y1 = std::max(y1, p.y);
        }
    }
    if (!any) return strokes;
    // A dot or a single straight line has no extent in one direction: only the other scales.
    const double side = std::max({x1 - x0, y1 - y0, 1});
    const double f = kCharacterShare * padSize / side;
    const double cx = (x0 + x1) / 2.0, cy = (y0 + y1) / 2.0;
    std::vector<HandStroke> out;
    out.reserve(strokes.size());
    for (const HandStroke& s : strokes) {
        HandStroke& o = out.emplace_back();
        o.reserve(s.size());
        for (const HandPoint& p : s)
            o.push_back({static_cast<int>(std::lround(padSize / 2.0 + (p.x - cx) * f)),
                         static_cast<int>(std::lround(padSize / 2.0 + (p.y - cy) * f))});
    }
    return out;
}

namespace {

// Candidates for points already in the engine's units on a square of side `side`.
std::vector<std::string> Classify(const std::vector<HandStroke>& strokes, int side, int count) {
    std::vector<std::string> candidates;
#ifdef SULKAN_HAVE_ZINNIA
    std::unique_ptr<zinnia::Character> character(zinnia::Character::create());
    character->set_width(static_cast<std::size_t>(side));
    character->set_height(static_cast<std::size_t>(side));
    std::size_t id = 0;
    for (const HandStroke& s : strokes) {
        if (s.empty()) continue;
        for (const HandPoint& p : s) character->add(id, p.x, p.y);
        ++id;
    }
    Engine& e = TheEngine();
    std::unique_ptr<zinnia::Result> result;
    {
        const std::lock_guard lock(e.mutex);
        zinnia::Recognizer* r = Loaded(e);
        if (!r) return candidates;
        result.reset(r->classify(*character, static_cast<std::size_t>(count + kSpareCandidates)));
    }
    if (!result) return candidates;
    for (std::size_t i = 0; i < result->size() && static_cast<int>(candidates.size()) < count;
         ++i) {
        const std::string utf8 = result->value(i);
        // Only what CP932 holds and gives back unchanged can become an answer.
        const auto bytes = Utf8ToCp932(utf8);
        if (!bytes || bytes->empty() || Cp932ToUtf8(*bytes) != utf8) continue;
        candidates.push_back(*bytes);
    }
#else
    (void)strokes;
    (void)side;
    (void)count;
#endif
    return candidates;
}

bool Drawn(const std::vector<HandStroke>& strokes) {
    return std::any_of(strokes.begin(), strokes.end(),
                       [](const HandStroke& s) { return !s.empty(); });
}

}  // namespace

std::vector<std::string> RecognizeHandwriting(const std::vector<HandStroke>& strokes, int padSize,
                                              int count) {
    if (!Drawn(strokes) || padSize < 1 || count < 1) return {};
    const int fine = padSize * kSubPixels;
    return Classify(NormalizedStrokes(strokes, fine), fine, count);
}

std::vector<std::string> RecognizeUnscaled(const std::vector<HandStroke>& strokes, int padSize,
                                           int count) {
    if (!Drawn(strokes) || padSize < 1 || count < 1) return {};
    return Classify(strokes, padSize, count);
}

}  // namespace sulkan
