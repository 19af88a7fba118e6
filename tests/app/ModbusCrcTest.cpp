#include "app/ModbusCrc.h"

#include <gtest/gtest.h>

namespace {

std::string Bytes(std::initializer_list<unsigned char> List) {
    return std::string(List.begin(), List.end());
}

TEST(ModbusCrc, KnownFrames) {
    struct TCase {
        std::string Data;
        std::string Crc;
    };
    const TCase Cases[] = {
        {"", Bytes({0xFF, 0xFF})},
        {"123456789", Bytes({0x37, 0x4B})},
        {Bytes({0x01, 0x03, 0x02, 0x00, 0x00, 0x02}), Bytes({0xC5, 0xB3})},
        {Bytes({0x01, 0x03, 0x04, 0x00, 0xEB, 0x00, 0xF1}), Bytes({0x4B, 0x83})},
        {Bytes({0x01, 0x03, 0x04, 0x00, 0xEB, 0x00, 0xF1, 0x4B, 0x83}), Bytes({0x00, 0x00})},
        {std::string(3, '\0'), Bytes({0x71, 0xC0})},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(ModbusCrc16(C.Data), C.Crc) << C.Data.size() << " bytes";
}

TEST(ModbusCrc, TableFollowsThePolynomial) {
    for (unsigned I = 0; I < 256; ++I) {
        unsigned C = I;
        for (int K = 0; K < 8; ++K)
            C = (C & 1) ? (C >> 1) ^ 0xA001 : C >> 1;
        EXPECT_EQ(ModbusCrcTable[I], C) << "entry " << I;
    }
}

} // namespace
