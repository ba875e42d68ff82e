// The random numbers of a drill (praise words, mascots, shuffled choices and keys) come from one
// injected source, so a test can seed it and get the same run every time.
#pragma once

#include <random>

namespace sulkan {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A number in [0, n); 0 when n < 1.
    virtual int below(int n) = 0;
};

class SeededRandom : public RandomSource {
public:
    explicit SeededRandom(unsigned seed) : m_engine(seed) {}
    int below(int n) override {
        if (n < 1) return 0;
        return std::uniform_int_distribution<int>(0, n - 1)(m_engine);
    }

private:
    std::mt19937 m_engine;
};

}  // namespace sulkan
