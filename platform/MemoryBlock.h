#pragma once
// Raw, resizable memory blocks for large arrays of plain records. Large
// blocks are mapped directly, ask for transparent huge pages and grow in
// place through the kernel, so that appending to tens of millions of
// records neither copies them nor takes a page fault every few records.

#include <cstddef>

// Resizes Block from OldBytes to NewBytes keeping the leading bytes; a null
// Block or OldBytes 0 allocates, NewBytes 0 frees. Returns null when the
// memory cannot be had (Block is then unchanged).
void* ResizeBlock(void* Block, std::size_t OldBytes, std::size_t NewBytes);
