// FuzzInput: the fuzz targets' reading of their input bytes. Numbers are
// little-endian; reading past the end gives zeros and empty texts, so every
// input, however short, is a whole case.
#ifndef VISTELLO_FUZZ_FUZZ_INPUT_H
#define VISTELLO_FUZZ_FUZZ_INPUT_H

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <string>

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : next(data), end(data + size) {}

  uint8_t Byte() { return next < end ? *next++ : 0; }
  int16_t Int16() {
    const unsigned low = Byte();
    return static_cast<int16_t>(low | Byte() << 8);
  }
  int32_t Int32() {
    const uint32_t low = static_cast<uint16_t>(Int16());
    const uint32_t high = static_cast<uint16_t>(Int16());
    return static_cast<int32_t>(low | high << 16);
  }

  // The bytes up to the next zero byte (which is consumed), or to the end.
  std::string Text() {
    if (next == end) {
      return std::string();
    }
    const uint8_t* stop = static_cast<const uint8_t*>(memchr(next, 0, end - next));
    std::string text(next, stop != nullptr ? stop : end);
    next = stop != nullptr ? stop + 1 : end;
    return text;
  }

  // Everything not read yet.
  const uint8_t* Rest() const { return next; }
  size_t RestSize() const { return end - next; }

 private:
  const uint8_t* next;
  const uint8_t* end;
};

#endif  // VISTELLO_FUZZ_FUZZ_INPUT_H
