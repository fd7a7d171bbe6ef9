// Windows' side of zeroed_pages.h. VirtualAlloc's committed pages read as
// zeros and take memory only once written, like Linux's anonymous mapping;
// Windows charges the whole table to the commit limit at once, which for
// the index's tables (tens of megabytes at most) is no concern.
#include <windows.h>

#include <cstdlib>

#include "level/index/zeroed_pages.h"

void* take_zeroed_pages(std::size_t bytes) {
  void* pages = VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  if (!pages) std::abort();
  return pages;
}

void give_back_pages(void* pages, std::size_t) {
  if (pages) VirtualFree(pages, 0, MEM_RELEASE);
}
