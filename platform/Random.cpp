#include "platform/Random.h"

int TRandom::Next(int Range) {
    // A full-period linear congruential step; the high bits of the seed
    // scale to the range without the bias of a plain remainder.
    FSeed = FSeed * 134775813u + 1u;
    return int((std::uint64_t(FSeed) * std::uint64_t(Range)) >> 32);
}
