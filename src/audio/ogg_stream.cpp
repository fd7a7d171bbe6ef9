#include "audio/ogg_stream.h"

#include <iostream>
#include <numeric>

#include "files/file_bytes.h"
#include "files/utf8_paths.h"

namespace {

// One fill of decoded sound: 128 KiB, 0.74 s of 16-bit stereo at 44.1 kHz.
// Two fills are all the decoded sound the player ever hands to OpenAL.
constexpr int k_fill_bytes = 131072;
constexpr int k_sample_bytes = 2;  // 16-bit signed little-endian samples

int format_frame_bytes(ALenum format) {
  return (format == AL_FORMAT_MONO16 ? 1 : 2) * k_sample_bytes;
}

// The most one fill may hold: whole frames for the decoder (ov_read refuses
// room for less than one frame of all channels) that are also whole frames of
// the buffer's format (alBufferData refuses a part frame). 131,072 bytes for
// one or two channels; less for three or six, which do not divide it.
int fill_capacity(int channels, ALenum format) {
  const int step = std::lcm(channels * k_sample_bytes, format_frame_bytes(format));
  return k_fill_bytes - k_fill_bytes % step;
}

// The character of valid UTF-8 that starts at text[at]: its length in bytes
// and its code point; length 0 when the bytes there are not valid UTF-8.
struct utf8_char {
  std::size_t length;
  unsigned code;
};

utf8_char utf8_at(const std::string& text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return {1, lead};
  std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || at + length > text.size()) return {0, 0};
  unsigned code = lead & (0x7F >> length);
  for (std::size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[at + k]);
    if ((next & 0xC0) != 0x80) return {0, 0};
    code = (code << 6) | (next & 0x3F);
  }
  const unsigned shortest[5] = {0, 0, 0x80, 0x800, 0x10000};  // overlong forms are not UTF-8
  if (code < shortest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
    return {0, 0};
  return {length, code};
}

bool is_control(unsigned code) {
  return (code < 0x20 && code != '\t' && code != '\n') || (code >= 0x7F && code <= 0x9F);
}

// A comment is the file's text: control characters in it would act on the
// terminal it is printed to, so they are shown as '?'. That includes the C1
// controls 0x80..0x9F, which some terminals obey as raw bytes and some as
// UTF-8 characters; bytes of that range that belong to another UTF-8
// character stay, and so do tabs and line breaks.
std::string printable(const char* text) {
  const std::string raw = text != nullptr ? text : "";
  std::string shown;
  for (std::size_t at = 0; at < raw.size();) {
    utf8_char c = utf8_at(raw, at);
    if (c.length == 0) c = {1, static_cast<unsigned char>(raw[at])};  // a byte on its own
    if (is_control(c.code))
      shown += '?';
    else
      shown.append(raw, at, c.length);
    at += c.length;
  }
  return shown;
}

}  // namespace

void ogg_stream::open(std::string path) {
  release();
  exhausted = false;
  open_decoder(path);
  make_buffers_and_source();
  // The music sits at the listener: no fading with distance, no direction.
  alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
  alSource3f(source, AL_VELOCITY, 0.0f, 0.0f, 0.0f);
  alSource3f(source, AL_DIRECTION, 0.0f, 0.0f, 0.0f);
  alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f);
  alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
}

void ogg_stream::open_decoder(const std::string& path) {
  // A pipe with no writer would hold the open below for ever, and a folder
  // or a device holds no Ogg file: all are refused before it, as every
  // file the game reads is (files/file_bytes.h).
  std::string reason;
  if (!is_readable_file(path, reason)) throw std::string("Could not open Ogg file.");
  file = open_file(path, "rb");
  if (file == nullptr) throw std::string("Could not open Ogg file.");
  const int result = ov_open(file, &decoder, nullptr, 0);
  if (result < 0) {
    // A refused file stays ours to close.
    std::fclose(file);
    file = nullptr;
    throw std::string("Could not open Ogg stream. ") + errorString(result);
  }
  info = ov_info(&decoder, -1);
  comment = ov_comment(&decoder, -1);
  format = info->channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
}

void ogg_stream::make_buffers_and_source() {
  // An error some earlier call left pending is not ours: cleared, it cannot
  // make the check below throw after the buffers were made, losing them.
  alGetError();
  try {
    // Names are kept only once made: a failed alGenBuffers may leave names it
    // has already deleted again, which release must not delete twice.
    ALuint made_buffers[2] = {0, 0};
    alGenBuffers(2, made_buffers);
    check();
    buffers[0] = made_buffers[0];
    buffers[1] = made_buffers[1];
    ALuint made_source = 0;
    alGenSources(1, &made_source);
    check();
    source = made_source;
  } catch (const std::string&) {
    release();
    throw;
  }
}

void ogg_stream::release() {
  // The decoder goes first: it needs no OpenAL, so an OpenAL error below
  // cannot keep the file open.
  if (file != nullptr) {
    ov_clear(&decoder);  // also closes the file
    file = nullptr;
    info = nullptr;
    comment = nullptr;
  }
  if (source != 0) {
    alSourceStop(source);
    empty();
    alDeleteSources(1, &source);
    source = 0;
    check();
  }
  if (buffers[0] != 0) {
    alDeleteBuffers(2, buffers);
    buffers[0] = buffers[1] = 0;
    check();
  }
}

void ogg_stream::display() {
  if (info == nullptr) return;
  std::cout << "version         " << info->version << '\n'
            << "channels        " << info->channels << '\n'
            << "rate (hz)       " << info->rate << '\n'
            << "bitrate upper   " << info->bitrate_upper << '\n'
            << "bitrate nominal " << info->bitrate_nominal << '\n'
            << "bitrate lower   " << info->bitrate_lower << '\n'
            << "bitrate window  " << info->bitrate_window << '\n'
            << '\n'
            << "vendor " << printable(comment->vendor) << '\n';
  for (int i = 0; i < comment->comments; ++i) {
    std::cout << "   " << printable(comment->user_comments[i]) << '\n';
  }
  std::cout << '\n' << std::flush;
}

bool ogg_stream::playback() {
  if (playing()) return true;
  if (!stream(buffers[0])) return false;
  // A sound that fits in one buffer plays from that buffer alone.
  const ALsizei filled = stream(buffers[1]) ? 2 : 1;
  alSourceQueueBuffers(source, filled, buffers);
  alSourcePlay(source);
  return true;
}

bool ogg_stream::playing() {
  ALint state = AL_INITIAL;
  alGetSourcei(source, AL_SOURCE_STATE, &state);
  return state == AL_PLAYING;
}

bool ogg_stream::update() {
  ALint processed = 0;
  alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
  bool more = true;
  bool requeued = false;
  for (; processed > 0; --processed) {
    ALuint buffer = 0;
    alSourceUnqueueBuffers(source, 1, &buffer);
    check();
    more = stream(buffer);
    // A buffer the file could not refill still holds the sound just played;
    // queued again, it would repeat that sound after the end.
    if (!more) {
      exhausted = true;
      continue;
    }
    alSourceQueueBuffers(source, 1, &buffer);
    check();
    requeued = true;
  }
  // A source that ran dry before its buffers came back (the caller was late)
  // has stopped for good; fresh sound on its queue starts it again.
  if (requeued && !playing()) alSourcePlay(source);
  return !exhausted;
}

// The last page of a whole stream carries the end-of-stream flag, which the
// decoder's Ogg stream state keeps once that page has been read.
bool ogg_stream::ended_early() const { return info != nullptr && decoder.os.e_o_s == 0; }

bool ogg_stream::stream(ALuint buffer) {
  if (info == nullptr) return false;  // a player that is not open has no sound
  // 128 KiB on the stack: no allocation per fill, and alBufferData copies it.
  char staging[k_fill_bytes];
  const int capacity = fill_capacity(info->channels, format);
  int count = 0;
  while (count < capacity) {
    int logical_stream = 0;
    const long result =
        ov_read(&decoder, staging + count, capacity - count, 0, k_sample_bytes, 1, &logical_stream);
    if (result < 0) throw errorString(static_cast<int>(result));
    if (result == 0) break;  // end of the file
    count += static_cast<int>(result);
  }
  // Only an odd channel count above two can end on half a stereo frame.
  count -= count % format_frame_bytes(format);
  if (count == 0) return false;
  alBufferData(buffer, format, staging, count, static_cast<ALsizei>(info->rate));
  check();
  return true;
}

void ogg_stream::empty() {
  ALint queued = 0;
  alGetSourcei(source, AL_BUFFERS_QUEUED, &queued);
  for (; queued > 0; --queued) {
    ALuint buffer = 0;
    alSourceUnqueueBuffers(source, 1, &buffer);
    check();
  }
}

void ogg_stream::check() {
  if (alGetError() != AL_NO_ERROR) throw std::string("OpenAL error was raised.");
}

std::string ogg_stream::errorString(int code) {
  switch (code) {
    case OV_EREAD:
      return "Read from media.";
    case OV_EFAULT:
      // The missing closing parenthesis is the message as users know it.
      return "Internal logic fault (bug or heap/stack corruption.";
    case OV_ENOTVORBIS:
      return "Not Vorbis data.";
    case OV_EBADHEADER:
      return "Invalid Vorbis header.";
    case OV_EVERSION:
      return "Vorbis version mismatch.";
    default:
      return "Unknown Ogg error.";
  }
}
