// What a buffer of inotify events says about one watched folder and one
// file in it: the file changed (or may have: the queue overflowed and events
// were lost), or the folder itself went away. The Linux watcher's reading
// of the system's reports, apart from its thread, so that a test can hand
// it reports that are hard to provoke.
#pragma once

#include <sys/inotify.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "files/watch_timing.h"

// Events that mean the watched folder is no longer at its path: removed,
// renamed (the watch would follow it to its new name), its file system
// unmounted, or the watch dropped.
constexpr std::uint32_t FOLDER_GONE_EVENTS = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED;

inline folder_news read_news(const char* buffer, std::size_t size, int watch,
                             const std::string& name) {
  folder_news news;
  for (std::size_t at = 0; at + sizeof(inotify_event) <= size;) {
    const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
    if (event->mask & IN_Q_OVERFLOW) news.file_changed = true;
    if (event->wd == watch && (event->mask & FOLDER_GONE_EVENTS)) news.folder_gone = true;
    if (event->wd == watch && event->len > 0 && name == event->name) news.file_changed = true;
    at += sizeof(inotify_event) + event->len;
  }
  return news;
}
