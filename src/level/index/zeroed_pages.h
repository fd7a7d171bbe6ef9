// Large tables of zeros taken straight from the system, for the terrain
// index's grids and memos: a page costs memory only once something is
// written to it, and taking a table never clears memory. The allocator's
// calloc may hand out reused heap memory it must clear first, which for the
// index's tables of tens of megabytes took milliseconds in the first tick
// after a level was loaded again.
#pragma once

#include <cstddef>

// Aborts when the system has no room, as new would.
void* take_zeroed_pages(std::size_t bytes);

// Gives back what take_zeroed_pages took; null does nothing.
void give_back_pages(void* pages, std::size_t bytes);

template <typename T>
T* take_zeroed_table(std::size_t count) {
  return static_cast<T*>(take_zeroed_pages(count * sizeof(T)));
}

template <typename T>
void give_back_table(T* table, std::size_t count) {
  give_back_pages(table, count * sizeof(T));
}
