#pragma once
// A small independent reader of Enhanced Metafile bytes for the tests: it
// checks the framing (header, sizes, counts, end record) and hands out the
// records with their fields.

#include <cstdint>
#include <string>
#include <vector>

struct TEmfRecord {
    std::uint32_t Type = 0;
    std::string Bytes; // the whole record, type and size included

    std::uint32_t U32(std::size_t Offset) const;
    std::int32_t I32(std::size_t Offset) const { return std::int32_t(U32(Offset)); }
    std::uint16_t U16(std::size_t Offset) const;
    // Count UTF-16 code units from Offset, as UTF-8.
    std::string Utf16(std::size_t Offset, std::size_t Count) const;
};

// Throws std::runtime_error naming the first framing fault.
std::vector<TEmfRecord> ReadEmf(const std::string& Bytes);

// The records of one type, in order.
std::vector<TEmfRecord> RecordsOf(const std::vector<TEmfRecord>& Records, std::uint32_t Type);
