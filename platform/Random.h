#pragma once
// A pseudo-random generator that starts from the same seed in every run, so
// a run's sequence of simulated samples can be reproduced.

#include <cstdint>

class TRandom {
  public:
    explicit TRandom(std::uint32_t Seed = 0) : FSeed(Seed) {}
    // Uniform in 0 .. Range - 1 (Range >= 1).
    int Next(int Range);

  private:
    std::uint32_t FSeed;
};
