// The game shell: start-up, the tick and shutdown. game_main is the whole
// program; the pieces are exposed so tests can run a tick and read it back.
#pragma once

#include <GL/gl.h>
#include <SDL.h>

#include <functional>

extern const char* const CAPTION;       // the text drawn at the top of the window
extern const char* const WINDOW_TITLE;  // the window's title: "Blob demo"

// Opens the 800x600 double-buffered OpenGL window. False (SDL_GetError()
// tells why) when it cannot.
bool open_game_window();

// The GL state set once at start-up: viewport, clear values, no depth test,
// smooth shading, identity projection, modelview current.
void set_fixed_gl_state();

// Blue-to-black gradient over the whole window.
void draw_backdrop();

// The 64x64 portrait at the window's top-left corner.
void draw_portrait(GLuint portrait);

// Starts a frame: clears the window, sets smooth shading and line smoothing,
// and loads the view frame (identity translated by (-1, 1, 0)).
void begin_frame();

// Steps every object in list order: one tick of the simulation.
void step_pass();

// Draws every object in list order.
void draw_pass();

// A tick's drawing half: clear, view frame, step pass, backdrop, draw pass,
// caption, portrait, the lines said lately (screen_messages.h), texturing
// off. Leaves the frame in the back buffer.
void render_frame(GLuint portrait);

// Shutdown's first half: destroys and releases every object in list order,
// then deletes the portrait and the font.
void destroy_game(GLuint portrait);

// Hands one event to every object; returns true for an Escape key-down.
bool dispatch_event(const SDL_Event& event);

// Polls and dispatches every pending event; true when Escape was pressed.
bool event_pass();

// A tick's event pass other than the plain one above: one that records the
// keys, or one that takes them from a replay (replay/replay_session.h).
class key_source {
 public:
  virtual ~key_source() = default;
  // Hands this tick's keys to the objects; true when the game ends after
  // this tick.
  virtual bool event_pass() = 0;
};

// One whole tick: the lines said a tick older, render_frame, the event pass (the plain one, or that
// of `keys` when given), swap. True when the game ends.
bool run_tick(GLuint portrait, key_source* keys = nullptr);

// Start-up's making of the world: the level object, which makes the level
// and every object in it, and the view with the world's origin at the
// window's centre.
void make_world();

// Empties the world (objects and terrain) and makes it again as start-up
// does, from the level set now (level/container.h).
void remake_world();

// What start-up hands to the loop and to shutdown.
struct game_session {
  GLuint portrait = 0;
  bool audio_open = false;
};

// Start-up: SDL, the window, the fixed GL state, the world, the font and
// portrait, the audio device (the game runs on without one). False, after
// one line on standard error, when the display or window cannot be opened.
bool start_game(int* argc, char** argv, game_session& session);

// Shutdown: every object, the pictures, the audio device, SDL.
void end_game(const game_session& session);

// The program: start-up, the loop until Escape, shutdown. `between_ticks`,
// when given, runs before every tick: the place to swap in a new level.
// `keys`, when given, makes each tick's event pass. Returns the exit status:
// 0, or 1 when the display or window cannot be opened.
int game_main(int argc, char** argv, const std::function<void()>& between_ticks = {},
              key_source* keys = nullptr);
