#include "shell/screen_messages.h"

#include <GL/gl.h>

#include <cstdlib>
#include <cstring>
#include <mutex>

#include "files/said_lines.h"
#include "shell/text.h"
#include "shell/view.h"

namespace {
constexpr const char* OWN_NAME = "blobdemo: ";
constexpr const char* CUT = "...";
constexpr int GLYPH = 24;                  // pixels: three quarters of the caption's 32
constexpr int ADVANCE = 12;                // pixels, half a glyph as for the caption
constexpr std::size_t ROW_CHARS = 65;      // (800 - 2 * MARGIN - a glyph's overhang) / ADVANCE
constexpr int ROW_PITCH = 22;              // pixels: the glyphs' ink is shorter than their quads
constexpr int MARGIN = 6;                  // pixels around the text
constexpr unsigned char BAND_ALPHA = 170;  // of 255: the world still shows through, darkened

std::mutex guard;
screen_message_list shown;

// The length of the UTF-8 character that starts with `lead`: 1 for a
// byte that starts none.
std::size_t utf8_length(unsigned char lead) {
  return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

void listen(const char* line) {
  std::lock_guard<std::mutex> hold(guard);
  shown.add(line);
}

// How many characters of `text`, from `at` on, go in one row: up to
// ROW_CHARS, broken after a space when one lies in the row's second half.
std::size_t row_length(const char* text, std::size_t at, std::size_t length) {
  std::size_t rest = length - at;
  if (rest <= ROW_CHARS) return rest;
  for (std::size_t k = ROW_CHARS; k > ROW_CHARS / 2; --k)
    if (text[at + k - 1] == ' ') return k;
  return ROW_CHARS;
}

int rows_of(const char* text) {
  std::size_t length = std::strlen(text);
  int rows = 1;
  for (std::size_t at = row_length(text, 0, length); at < length;
       at += row_length(text, at, length))
    ++rows;
  return rows;
}

void draw_band(int top) {
  glDisable(GL_TEXTURE_2D);
  glColor4ub(0, 0, 0, BAND_ALPHA);
  glBegin(GL_QUADS);
  screen_vertex(0, top);
  screen_vertex(0, WINDOW_HEIGHT);
  screen_vertex(WINDOW_WIDTH, WINDOW_HEIGHT);
  screen_vertex(WINDOW_WIDTH, top);
  glEnd();
  glEnable(GL_TEXTURE_2D);
}

// Draws `text` in rows from window row `y`; returns the row after it.
int draw_rows(const char* text, int y) {
  char row[ROW_CHARS + 1];
  std::size_t length = std::strlen(text);
  std::size_t at = 0;
  do {
    std::size_t part = row_length(text, at, length);
    std::memcpy(row, text + at, part);
    row[part] = '\0';
    draw_text_sized(MARGIN, y, row, GLYPH, ADVANCE);
    y += ROW_PITCH;
    at += part;
  } while (at < length);
  return y;
}
}  // namespace

void screen_message_list::add(const char* line) {
  if (std::strncmp(line, OWN_NAME, std::strlen(OWN_NAME)) == 0) line += std::strlen(OWN_NAME);
  entry& e = ring_[(first_ + size_) % LINES_SHOWN];
  if (size_ == LINES_SHOWN)
    first_ = (first_ + 1) % LINES_SHOWN;
  else
    ++size_;
  e.said_at = now_;
  std::size_t out = 0;
  for (std::size_t at = 0; line[at] != '\0' && out < LINE_CHARS;) {
    auto c = static_cast<unsigned char>(line[at]);
    std::size_t length = utf8_length(c);
    e.text[out++] = c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    for (at += 1; length > 1 && (static_cast<unsigned char>(line[at]) & 0xC0) == 0x80; --length)
      ++at;  // the rest of one character beyond ASCII
    if (out == LINE_CHARS && line[at] != '\0') std::memcpy(e.text + out - 3, CUT, 3);
  }
  e.text[out] = '\0';
}

void screen_message_list::tick() {
  ++now_;
  while (size_ > 0 && now_ - ring_[first_].said_at > LIFE_TICKS) {
    first_ = (first_ + 1) % LINES_SHOWN;
    --size_;
  }
}

void show_said_lines_on_screen() {
  const char* off = std::getenv("BLOB_TEST_NO_SCREEN_MESSAGES");
  if (off && *off) return;
  listen_to_said_lines(listen);
}

void age_screen_messages() {
  std::lock_guard<std::mutex> hold(guard);
  shown.tick();
}

void draw_screen_messages() {
  std::lock_guard<std::mutex> hold(guard);
  if (shown.size() == 0) return;
  int rows = 0;
  for (int k = 0; k < shown.size(); ++k) rows += rows_of(shown.line(k));
  int top = WINDOW_HEIGHT - rows * ROW_PITCH - 2 * MARGIN;
  GLboolean blending = glIsEnabled(GL_BLEND);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  draw_band(top);
  // The glyphs' quads are taller than their ink: a row's quad starts a
  // little above the row so the ink sits in it.
  int y = top + MARGIN - (GLYPH - ROW_PITCH);
  for (int k = 0; k < shown.size(); ++k) y = draw_rows(shown.line(k), y);
  if (!blending) glDisable(GL_BLEND);
}
