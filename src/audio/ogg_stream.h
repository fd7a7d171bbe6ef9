// Streams one Ogg Vorbis file through OpenAL: the file is decoded a piece at a
// time into two buffers that take turns on one source, so the whole sound is
// never held in memory. Needs a current OpenAL context (the caller opens the
// audio device). Used by tools/oggplay; the game itself starts no music.
//
// Calling order: open; optionally display; playback; then update (and
// playing) regularly until update returns false and playing turns false;
// finally release. Every failure is thrown as a std::string holding the
// message.
#pragma once

#include <AL/al.h>
#include <vorbis/vorbisfile.h>

#include <cstdio>
#include <string>

class ogg_stream {
 public:
  ogg_stream() = default;
  // The decoder and the OpenAL names are owned: a copy would free them twice.
  ogg_stream(const ogg_stream&) = delete;
  ogg_stream& operator=(const ogg_stream&) = delete;

  // Opens the file (named in UTF-8; only a regular file: a folder, a pipe
  // or a device is refused without waiting), reads its headers and makes
  // the two buffers and the source. Throws "Could not open Ogg file.",
  // "Could not open Ogg stream. " followed by the decoder's reason, or
  // "OpenAL error was raised."; whatever it made is released before it
  // throws. Releases a file opened earlier.
  void open(std::string path);
  // Stops the sound and frees the source, the buffers, the decoder and the
  // file. Harmless on a player that never opened, whose open failed, or that
  // was already released. If it throws, calling it again frees the rest.
  void release();
  // Prints the stream's information and user comments on standard output.
  // The player must be open.
  void display();
  // Starts the sound. True if it plays (or already played); false if the file
  // holds no sound at all.
  bool playback();
  bool playing();
  // Refills and requeues every buffer the source has finished with, and
  // restarts the source if it ran dry while sound was still coming. Returns
  // false once the file has no more sound, and from then on (a buffer it
  // could not refill stays off the queue); before that, true when no buffer
  // had finished.
  bool update();
  // Once the sound has run out (update or playback returned false): true
  // when the file ended before its stream's end mark, that is, the file was
  // cut short and only the part present played.
  bool ended_early() const;

 protected:
  // open's steps: the file and its decoder, then the two buffers and the
  // source (released again when OpenAL refuses one). Each throws as open.
  void open_decoder(const std::string& path);
  void make_buffers_and_source();
  // Decodes the next piece of the file into `buffer`: 131,072 bytes, or fewer
  // at the end of the file. False, with the buffer untouched, when nothing was
  // left.
  bool stream(ALuint buffer);
  // Takes every queued buffer off the source.
  void empty();
  // Throws "OpenAL error was raised." if OpenAL has an error pending, and
  // clears it.
  static void check();
  // Text for a libvorbisfile error code.
  static std::string errorString(int code);

  FILE* file = nullptr;  // belongs to the decoder once ov_open accepted it
  OggVorbis_File decoder{};
  vorbis_info* info = nullptr;        // owned by the decoder
  vorbis_comment* comment = nullptr;  // owned by the decoder
  ALuint buffers[2] = {0, 0};
  ALuint source = 0;
  ALenum format = 0;       // AL_FORMAT_MONO16 for one channel, else AL_FORMAT_STEREO16
  bool exhausted = false;  // a refill has found the end of the file
};
