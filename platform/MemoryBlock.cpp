#include "platform/MemoryBlock.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sys/mman.h>

namespace {

// From here on a block is mapped on its own.
constexpr std::size_t LargeBlock = std::size_t(4) << 20;
constexpr std::size_t HugePage = std::size_t(2) << 20;

bool IsLarge(std::size_t Bytes) {
    return Bytes >= LargeBlock;
}

// Mapped blocks span whole huge pages.
std::size_t MappedSize(std::size_t Bytes) {
    return (Bytes + HugePage - 1) / HugePage * HugePage;
}

void* MapBlock(std::size_t Bytes) {
    void* Block = mmap(nullptr, MappedSize(Bytes), PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (Block == MAP_FAILED)
        return nullptr;
    // Advice only: without huge pages the block still works.
    madvise(Block, MappedSize(Bytes), MADV_HUGEPAGE);
    return Block;
}

void FreeBlock(void* Block, std::size_t Bytes) {
    if (IsLarge(Bytes))
        munmap(Block, MappedSize(Bytes));
    else
        std::free(Block);
}

// Between a heap block and a mapped one the bytes are copied once.
void* MoveBlock(void* Block, std::size_t OldBytes, std::size_t NewBytes) {
    void* Moved = IsLarge(NewBytes) ? MapBlock(NewBytes) : std::malloc(NewBytes);
    if (!Moved)
        return nullptr;
    std::memcpy(Moved, Block, std::min(OldBytes, NewBytes));
    FreeBlock(Block, OldBytes);
    return Moved;
}

} // namespace

void* ResizeBlock(void* Block, std::size_t OldBytes, std::size_t NewBytes) {
    if (!Block || OldBytes == 0) {
        if (NewBytes == 0)
            return nullptr;
        return IsLarge(NewBytes) ? MapBlock(NewBytes) : std::malloc(NewBytes);
    }
    if (NewBytes == 0) {
        FreeBlock(Block, OldBytes);
        return nullptr;
    }
    if (IsLarge(OldBytes) != IsLarge(NewBytes))
        return MoveBlock(Block, OldBytes, NewBytes);
    if (!IsLarge(NewBytes))
        return std::realloc(Block, NewBytes);
    if (MappedSize(OldBytes) == MappedSize(NewBytes))
        return Block;
    void* Grown = mremap(Block, MappedSize(OldBytes), MappedSize(NewBytes), MREMAP_MAYMOVE);
    return Grown == MAP_FAILED ? nullptr : Grown;
}
