// Work the game hands to a thread of its own (building a level saved
// meanwhile, the findings on a level) and takes the result of between two
// ticks, when it is ready. The game never waits for such work: when it ends
// with work still under way, the work is abandoned, and the process ending
// stops its thread.
#pragma once

#include <chrono>
#include <future>
#include <memory>
#include <system_error>
#include <thread>
#include <utility>

// Runs `work` on a thread of its own, which nothing joins. (The future of
// std::async would wait for it when dropped.) When no thread can be
// started, the work is done at once instead, late but not lost.
template <class Work>
auto in_background(Work work) -> std::future<decltype(work())> {
  auto task = std::make_shared<std::packaged_task<decltype(work())()>>(std::move(work));
  auto result = task->get_future();
  try {
    std::thread([task] { (*task)(); }).detach();
  } catch (const std::system_error&) {
    (*task)();
  }
  return result;
}

// Whether the background work has ended, without waiting for it.
template <class T>
bool work_done(const std::future<T>& work) {
  return work.valid() && work.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}
