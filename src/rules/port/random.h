// The game's one source of Rnd(), and the ordinary generator behind it.
#pragma once

#include <cstdint>
#include <random>

namespace tarvex {

// Uniform in [0, 1).
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual double Next() = 0;
};

// The ordinary generator, seeded from the clock by the main window or by a fixed seed.
class MersenneRandom : public RandomSource {
public:
    explicit MersenneRandom(std::uint64_t seed = 0) : engine_(seed) {}
    void Seed(std::uint64_t seed) { engine_.seed(seed); }
    double Next() override {
        // 53 random bits: uniform in [0, 1), never 1.
        return static_cast<double>(engine_() >> 11) * (1.0 / 9007199254740992.0);
    }

private:
    std::mt19937_64 engine_;
};

}  // namespace tarvex
