#include "tests/platform/EmfReader.h"

#include <QString>

#include <stdexcept>

std::uint32_t TEmfRecord::U32(std::size_t Offset) const {
    if (Offset + 4 > Bytes.size())
        throw std::runtime_error("field beyond the record");
    std::uint32_t V = 0;
    for (int I = 3; I >= 0; --I)
        V = V << 8 | std::uint8_t(Bytes[Offset + std::size_t(I)]);
    return V;
}

std::uint16_t TEmfRecord::U16(std::size_t Offset) const {
    if (Offset + 2 > Bytes.size())
        throw std::runtime_error("field beyond the record");
    return std::uint16_t(std::uint8_t(Bytes[Offset]) | std::uint8_t(Bytes[Offset + 1]) << 8);
}

std::string TEmfRecord::Utf16(std::size_t Offset, std::size_t Count) const {
    std::u16string Units;
    for (std::size_t I = 0; I < Count; ++I)
        Units += char16_t(U16(Offset + 2 * I));
    return QString::fromStdU16String(Units).toStdString();
}

std::vector<TEmfRecord> ReadEmf(const std::string& Bytes) {
    std::vector<TEmfRecord> Records;
    std::size_t At = 0;
    while (At < Bytes.size()) {
        if (At + 8 > Bytes.size())
            throw std::runtime_error("truncated record at " + std::to_string(At));
        TEmfRecord Head;
        Head.Bytes = Bytes.substr(At, 8);
        const std::uint32_t Size = Head.U32(4);
        if (Size < 8 || Size % 4 != 0 || At + Size > Bytes.size())
            throw std::runtime_error("bad record size at " + std::to_string(At));
        Records.push_back({Head.U32(0), Bytes.substr(At, Size)});
        At += Size;
    }
    if (Records.empty() || Records.front().Type != 1)
        throw std::runtime_error("no header record");
    const TEmfRecord& Header = Records.front();
    if (Header.U32(40) != 0x464D4520)
        throw std::runtime_error("no EMF signature");
    if (Header.U32(48) != Bytes.size())
        throw std::runtime_error("header size differs from the file size");
    if (Header.U32(52) != Records.size())
        throw std::runtime_error("header record count differs");
    if (Records.back().Type != 14)
        throw std::runtime_error("no end record");
    return Records;
}

std::vector<TEmfRecord> RecordsOf(const std::vector<TEmfRecord>& Records, std::uint32_t Type) {
    std::vector<TEmfRecord> Result;
    for (const TEmfRecord& R : Records)
        if (R.Type == Type)
            Result.push_back(R);
    return Result;
}
