#include "level/index/zeroed_pages.h"

#include <sys/mman.h>

#include <cstdlib>

void* take_zeroed_pages(std::size_t bytes) {
  void* pages = mmap(nullptr, bytes, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (pages == MAP_FAILED) std::abort();
  return pages;
}

void give_back_pages(void* pages, std::size_t bytes) {
  if (pages) munmap(pages, bytes);
}
