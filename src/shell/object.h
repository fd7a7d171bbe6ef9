// Game objects: the base class every entity derives from, the factory that
// makes them from a type code, and the one list that owns them all.
// The main loop drives every object only through the six virtual operations.
// The shell knows no kind of object itself: the program installs the kinds
// its levels name (world/object_kinds.h) before anything is made.
#pragma once

#include <SDL.h>

class state_text;

// Type codes understood by instance_create.
enum : int {
  TYPE_CONTAINER = -1,  // the level object; made once, by start-up
  TYPE_PLATFORM = 0,
  TYPE_BLOB_FIRST = 1,  // blob codes 1..5 select styles 0..4
  TYPE_BLOB_LAST = 5,
};

class obj_parent {
 public:
  // Constructors set up the class and nothing else: instance_create fills in
  // type, x and y before create() runs, and next only after it returns.
  obj_parent() = default;
  virtual ~obj_parent() = default;
  obj_parent(const obj_parent&) = delete;
  obj_parent& operator=(const obj_parent&) = delete;

  float x = 0;  // world pixels, reference point of the object
  float y = 0;  // world pixels, y grows downward
  int type = 0;
  obj_parent* next = nullptr;

  virtual void create() {}
  virtual void draw() {}
  virtual void step() {}
  virtual void destroy() {}
  virtual void keydown(SDL_Event) {}
  virtual void keyup(SDL_Event) {}

  // Writes the object's line of the state dump (replay/state_dump.h); the
  // level object has none. Never called by the game loop.
  virtual void write_state(state_text&) const {}
};

// Head of the object list; null while it is empty.
extern obj_parent* start_obj;

// The kinds of object there are: what instance_create makes of a type code,
// and what the world keeps outside the object list (the terrain), freed when
// the world is emptied and at exit.
struct object_kinds {
  // A new object of the class the code names, constructed and not yet
  // created; null for a code that names nothing.
  obj_parent* (*construct)(int type);
  void (*free_shared_world)();
};

// Installs the kinds for instance_create and free_shared_world; the program
// does this once, before it makes anything.
void install_object_kinds(const object_kinds& kinds);

// Frees what the installed kinds keep outside the object list. A plain
// function, for atexit.
void free_shared_world();

// Makes an object of the class the type code names, runs its create() and
// then appends it at the tail of the list, so objects made from inside a
// create() come before their maker. Returns the object (the list owns it), or
// null for a code outside -1..5 and for a second level object, which would
// load the level again and recurse without end.
obj_parent* instance_create(int x, int y, int type);

// Shutdown pass: destroy() and release every object in list order, leaving
// the list empty.
void destroy_all_instances();
