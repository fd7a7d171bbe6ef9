#include "shell/game.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "audio/audio_device.h"
#include "files/data_path.h"
#include "files/said_lines.h"
#include "shell/frame_hints.h"
#include "shell/object.h"
#include "shell/pacing.h"
#include "shell/screen_messages.h"
#include "shell/start_sdl.h"
#include "shell/text.h"
#include "shell/texture.h"
#include "shell/view.h"

const char* const CAPTION = "Demo test fools\n";
const char* const WINDOW_TITLE = "Blob demo";

namespace {
constexpr const char* PROGRAM = "blobdemo";
constexpr int CAPTION_X = 64;               // pixels, just right of the portrait
constexpr int CAPTION_Y = 2;                // pixels
constexpr float PORTRAIT_U = 0.16f;         // 64 pixels / 400
constexpr float PORTRAIT_V = -0.21333334f;  // 64 pixels / -300

void report_display_failure(const char* what) {
  say_line(std::string(PROGRAM) + ": " + what + ": " + SDL_GetError() + display_advice());
}

bool open_audio(int* argc, char** argv) {
  std::string reason;
  if (open_audio_device(argc, argv, reason)) return true;
  say_line(std::string(PROGRAM) + ": no sound: cannot open the audio device: " + reason);
  return false;
}

// The font from the data folders, or else the game's own: without a font
// the lines that say what is missing (screen_messages.h) would be drawn as
// white boxes, and the folder a game is started in may hold no pictures.
GLuint load_font() {
  GLuint font = loadTexture(".\\images\\font.png");
  std::string own = shipped_data_folder();
  if (font == 0 && !own.empty()) font = loadTexture((own + "/images/font.png").c_str());
  return font;
}
}  // namespace

void destroy_game(GLuint portrait) {
  destroy_all_instances();
  glDeleteTextures(1, &portrait);
  glDeleteTextures(1, &tex_font);
}

bool open_game_window() {
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  // The window's title and its task bar entry, rather than SDL's "SDL_app".
  SDL_WM_SetCaption(WINDOW_TITLE, WINDOW_TITLE);
  return SDL_SetVideoMode(WINDOW_WIDTH, WINDOW_HEIGHT, 0, SDL_HWSURFACE | SDL_OPENGL) != nullptr;
}

void set_fixed_gl_state() {
  glViewport(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT);
  glClearColor(0, 0, 0, 0);
  glClearDepth(1.0);
  glDepthFunc(GL_LESS);
  glDisable(GL_DEPTH_TEST);
  set_frame_hints();  // smooth shading, where the GL takes the request
  // The projection stays the identity: draws map world pixels to clip
  // coordinates themselves (see view.h).
  glMatrixMode(GL_PROJECTION);
  glMatrixMode(GL_MODELVIEW);
}

void draw_backdrop() {
  glBegin(GL_QUADS);
  glColor3ub(0, 0, 128);
  glVertex2f(0, 0);
  glColor3ub(0, 0, 0);
  glVertex2f(0, -2);
  glColor3ub(0, 0, 0);
  glVertex2f(2, -2);
  glColor3ub(0, 0, 128);
  glVertex2f(2, 0);
  glEnd();
}

// Drawn with whatever texturing the draw pass left on: the level object,
// drawn last, leaves it enabled.
void draw_portrait(GLuint portrait) {
  glBindTexture(GL_TEXTURE_2D, portrait);
  glColor4ub(255, 255, 255, 255);
  glBegin(GL_QUADS);
  glTexCoord2i(0, 0);
  glVertex2f(0, 0);
  glTexCoord2i(1, 0);
  glVertex2f(PORTRAIT_U, 0);
  glTexCoord2i(1, 1);
  glVertex2f(PORTRAIT_U, PORTRAIT_V);
  glTexCoord2i(0, 1);
  glVertex2f(0, PORTRAIT_V);
  glEnd();
}

void begin_frame() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  set_frame_hints();
  glLoadIdentity();
  glTranslatef(-1, 1, 0);
}

void step_pass() {
  for (obj_parent* o = start_obj; o; o = o->next) o->step();
}

void draw_pass() {
  for (obj_parent* o = start_obj; o; o = o->next) o->draw();
}

void render_frame(GLuint portrait) {
  begin_frame();
  step_pass();
  draw_backdrop();
  draw_pass();
  draw_text(CAPTION_X, CAPTION_Y, CAPTION);
  draw_portrait(portrait);
  draw_screen_messages();
  glDisable(GL_TEXTURE_2D);
}

bool dispatch_event(const SDL_Event& event) {
  bool quit = false;
  if (event.type == SDL_KEYDOWN) {
    quit = event.key.keysym.sym == SDLK_ESCAPE;
    for (obj_parent* o = start_obj; o; o = o->next) o->keydown(event);
  } else if (event.type == SDL_KEYUP) {
    for (obj_parent* o = start_obj; o; o = o->next) o->keyup(event);
  }
  return quit;
}

// Every queued event is dispatched even after Escape, so keys pressed in
// the same tick still reach the objects.
bool event_pass() {
  bool quit = false;
  SDL_Event event;
  while (SDL_PollEvent(&event))
    if (dispatch_event(event)) quit = true;
  return quit;
}

bool run_tick(GLuint portrait, key_source* keys) {
  age_screen_messages();
  render_frame(portrait);
  bool quit = keys ? keys->event_pass() : event_pass();
  SDL_GL_SwapBuffers();
  return quit;
}

void make_world() {
  instance_create(0, 0, TYPE_CONTAINER);
  view_x -= WINDOW_WIDTH / 2;
  view_y -= WINDOW_HEIGHT / 2;
}

void remake_world() {
  destroy_all_instances();
  free_shared_world();
  view_x = 0;
  view_y = 0;
  make_world();
}

bool start_game(int* argc, char** argv, game_session& session) {
  start_obj = nullptr;
  std::atexit(free_shared_world);
  if (!start_sdl()) {
    report_display_failure("cannot start SDL");
    return false;
  }
  if (!open_game_window()) {
    report_display_failure("cannot open the 800x600 OpenGL window");
    SDL_Quit();
    return false;
  }
  set_fixed_gl_state();
  make_world();
  tex_font = load_font();
  session.portrait = loadTexture(".\\images\\hud_Portrait.png");
  session.audio_open = open_audio(argc, argv);
  return true;
}

void end_game(const game_session& session) {
  destroy_game(session.portrait);
  if (session.audio_open) close_audio_device();
  SDL_Quit();
}

int game_main(int argc, char** argv, const std::function<void()>& between_ticks, key_source* keys) {
  game_session session;
  if (!start_game(&argc, argv, session)) return 1;
  run_paced_loop([] { return SDL_GetTicks(); }, [](std::uint32_t ms) { SDL_Delay(ms); },
                 [&session, &between_ticks, keys] {
                   if (between_ticks) between_ticks();
                   return run_tick(session.portrait, keys);
                 });
  end_game(session);
  return 0;
}
