#include "platform/MemoryBlock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

void Fill(void* Block, std::size_t Bytes) {
    auto* P = static_cast<std::uint8_t*>(Block);
    for (std::size_t I = 0; I < Bytes; I += 4093)
        P[I] = std::uint8_t(I * 7);
}

bool Kept(const void* Block, std::size_t Bytes) {
    auto* P = static_cast<const std::uint8_t*>(Block);
    for (std::size_t I = 0; I < Bytes; I += 4093)
        if (P[I] != std::uint8_t(I * 7))
            return false;
    return true;
}

// Sizes below, across and far beyond the size at which blocks are mapped.
TEST(MemoryBlock, KeepsTheLeadingBytesThroughEveryResize) {
    const std::size_t MiB = 1 << 20;
    const std::vector<std::size_t> Sizes{24,       100 * 1024, 3 * MiB, 5 * MiB, 5 * MiB + 1,
                                         64 * MiB, 9 * MiB,    2 * MiB, 4 * MiB, 200};
    void* Block = ResizeBlock(nullptr, 0, Sizes[0]);
    ASSERT_NE(Block, nullptr);
    Fill(Block, Sizes[0]);
    for (std::size_t K = 1; K < Sizes.size(); ++K) {
        Block = ResizeBlock(Block, Sizes[K - 1], Sizes[K]);
        ASSERT_NE(Block, nullptr) << Sizes[K];
        EXPECT_TRUE(Kept(Block, std::min(Sizes[K - 1], Sizes[K])))
            << Sizes[K - 1] << " -> " << Sizes[K];
        Fill(Block, Sizes[K]);
    }
    EXPECT_EQ(ResizeBlock(Block, Sizes.back(), 0), nullptr);
    EXPECT_EQ(ResizeBlock(nullptr, 0, 0), nullptr);
}

TEST(MemoryBlock, RefusesWhatCannotBeHad) {
    void* Block = ResizeBlock(nullptr, 0, 64);
    Fill(Block, 64);
    EXPECT_EQ(ResizeBlock(Block, 64, std::size_t(1) << 62), nullptr);
    EXPECT_TRUE(Kept(Block, 64)) << "the block stays as it was";
    ResizeBlock(Block, 64, 0);
}

} // namespace
