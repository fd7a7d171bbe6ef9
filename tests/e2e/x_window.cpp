#include "e2e/x_window.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <thread>

screen_rgb screenshot::at(int x, int y) const {
  const std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
  return {p[0], p[1], p[2]};
}

int screenshot::count(int x0, int y0, int x1, int y1,
                      const std::function<bool(screen_rgb)>& test) const {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) n += test(at(x, y)) ? 1 : 0;
  return n;
}

void screenshot::centroid(int top, const std::function<bool(screen_rgb)>& test, double& cx,
                          double& cy) const {
  double sx = 0, sy = 0;
  int n = 0;
  for (int y = top; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (test(at(x, y))) {
        sx += x;
        sy += y;
        ++n;
      }
  cx = n ? sx / n : -1;
  cy = n ? sy / n : -1;
}

bool screenshot::save_png(const std::string& path) const {
  std::string ppm = path + ".ppm";
  FILE* f = std::fopen(ppm.c_str(), "wb");
  if (!f) return false;
  std::fprintf(f, "P6\n%d %d\n255\n", width, height);
  std::fwrite(rgb.data(), 1, rgb.size(), f);
  std::fclose(f);
  std::string command = "/usr/bin/convert '" + ppm + "' '" + path + "' && rm -f '" + ppm + "'";
  return std::system(command.c_str()) == 0;
}

namespace {
// A window can vanish between listing and asking about it (a game that has
// just ended); such errors must not end the test program.
int ignore_x_errors(Display*, XErrorEvent*) { return 0; }

std::vector<Window> game_sized_windows(Display* display) {
  std::vector<Window> found;
  Window root_back, parent, *children = nullptr;
  unsigned count = 0;
  XQueryTree(display, DefaultRootWindow(display), &root_back, &parent, &children, &count);
  for (unsigned k = 0; k < count; ++k) {
    XWindowAttributes a;
    if (XGetWindowAttributes(display, children[k], &a) && a.map_state == IsViewable &&
        a.width == 800 && a.height == 600)
      found.push_back(children[k]);
  }
  if (children) XFree(children);
  return found;
}
}  // namespace

x_window::x_window() {
  display_ = XOpenDisplay(nullptr);
  if (!display_) throw std::runtime_error("cannot open the X display");
  XSetErrorHandler(ignore_x_errors);
  already_there_ = game_sized_windows(display_);
}

x_window::~x_window() { XCloseDisplay(display_); }

bool x_window::find_game_window(double seconds) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < deadline) {
    for (Window w : game_sized_windows(display_))
      if (std::find(already_there_.begin(), already_there_.end(), w) == already_there_.end()) {
        window_ = w;
        return true;
      }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

screenshot x_window::shoot() const {
  screenshot shot;
  XImage* image = XGetImage(display_, window_, 0, 0, 800, 600, AllPlanes, ZPixmap);
  if (!image) return shot;
  shot.width = 800;
  shot.height = 600;
  shot.rgb.resize(800 * 600 * 3);
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      unsigned long p = XGetPixel(image, x, y);
      std::uint8_t* out = &shot.rgb[(static_cast<std::size_t>(y) * 800 + x) * 3];
      out[0] = static_cast<std::uint8_t>((p & image->red_mask) >> 16);
      out[1] = static_cast<std::uint8_t>((p & image->green_mask) >> 8);
      out[2] = static_cast<std::uint8_t>(p & image->blue_mask);
    }
  XDestroyImage(image);
  return shot;
}

// Keys go where the focus is; with no window manager the test gives the
// game's window the focus itself, as a click on it would.
void x_window::key(const char* name, bool down) {
  XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
  KeyCode code = XKeysymToKeycode(display_, XStringToKeysym(name));
  XTestFakeKeyEvent(display_, code, down ? True : False, CurrentTime);
  XFlush(display_);
}

void x_window::tap(const char* name) {
  key(name, true);
  key(name, false);
}

void x_window::request_close() {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window_;
  event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, window_, False, NoEventMask, &event);
  XFlush(display_);
}
