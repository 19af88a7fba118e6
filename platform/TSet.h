#pragma once
// A set of enumeration values stored as bits: bit i is the element of ordinal i.

#include <cstdint>
#include <initializer_list>
#include <type_traits>

template <typename E, typename Bits = std::uint32_t> class TSet {
    static_assert(std::is_enum_v<E>);

  public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> Elements) {
        for (E Element : Elements)
            FBits |= Bit(Element);
    }

    static constexpr TSet FromBits(Bits Value) {
        TSet S;
        S.FBits = Value;
        return S;
    }
    constexpr Bits ToBits() const { return FBits; }

    constexpr bool Contains(E Element) const { return (FBits & Bit(Element)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr TSet& Include(E Element) {
        FBits |= Bit(Element);
        return *this;
    }
    constexpr TSet& Exclude(E Element) {
        FBits &= ~Bit(Element);
        return *this;
    }

    constexpr TSet operator+(TSet Other) const { return FromBits(FBits | Other.FBits); }
    constexpr TSet operator*(TSet Other) const { return FromBits(FBits & Other.FBits); }
    constexpr TSet operator-(TSet Other) const { return FromBits(FBits & ~Other.FBits); }
    constexpr bool operator==(const TSet&) const = default;

  private:
    static constexpr Bits Bit(E Element) {
        return Bits(1) << static_cast<unsigned>(static_cast<std::underlying_type_t<E>>(Element));
    }
    Bits FBits = 0;
};
