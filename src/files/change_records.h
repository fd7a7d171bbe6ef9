// What one completed ReadDirectoryChangesW says about the watched folder
// and one file in it: the file changed; or may have, when the system had
// more changes than it could keep (it then reports none, only that it lost
// them); or the watch ended with an error. The Windows watcher's reading of
// the system's reports, apart from its thread and from windows.h, so that a
// test on any system can hand it reports that are hard to provoke.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "files/watch_timing.h"

// ERROR_NOTIFY_ENUM_DIR: too many changes came to be kept; read the folder
// again to learn them.
constexpr std::uint32_t CHANGES_LOST = 1022;

// The head of one record as the system lays it out (FILE_NOTIFY_INFORMATION):
// the offset of the next record from this one (0 for the last), what
// happened, and the length in bytes of the name that follows, in UTF-16,
// relative to the folder.
struct change_record_head {
  std::uint32_t next;
  std::uint32_t action;
  std::uint32_t name_bytes;
};

// `size` bytes of records, from a read that ended with `error` (0: none).
// same_name(const std::u16string&) tells whether a record names the file:
// the system compares names without regard to case. A record running past
// the end of the buffer ends the reading.
template <typename SameName>
folder_news read_change_records(const unsigned char* buffer, std::size_t size, std::uint32_t error,
                                SameName same_name) {
  folder_news news;
  if (error == CHANGES_LOST || (error == 0 && size == 0)) {
    news.file_changed = true;  // an empty report is the other way of saying so
    return news;
  }
  if (error != 0) {
    news.folder_gone = true;
    return news;
  }
  for (std::size_t at = 0; size - at >= sizeof(change_record_head);) {
    change_record_head head;
    std::memcpy(&head, buffer + at, sizeof head);
    std::size_t name_at = at + sizeof head;
    if (head.name_bytes > size - name_at) break;
    std::u16string name(head.name_bytes / 2, u'\0');
    std::memcpy(&name[0], buffer + name_at, name.size() * 2);
    if (same_name(name)) news.file_changed = true;
    if (head.next == 0 || head.next > size - at) break;
    at += head.next;
  }
  return news;
}
