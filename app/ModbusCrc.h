#pragma once
// CRC-16 of Modbus RTU frames (reflected polynomial 0xA001, start 0xFFFF,
// no final XOR).

#include <cstdint>
#include <string>

extern const std::uint16_t ModbusCrcTable[256];

// The two CRC bytes in line order: low byte, then high byte.
std::string ModbusCrc16(const std::string& Data);
