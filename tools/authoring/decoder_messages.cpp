// DecoderMessages: descriptor 2 redirected to a temporary file and back.
#include "tools/authoring/decoder_messages.h"

#include <unistd.h>

DecoderMessages::DecoderMessages() : kept(tmpfile()), saved(-1) {
  if (kept == nullptr) {
    return;
  }
  fflush(stderr);
  saved = dup(2);
  if (saved >= 0 && dup2(fileno(kept), 2) < 0) {
    close(saved);
    saved = -1;
  }
}

DecoderMessages::~DecoderMessages() {
  Restore();
  if (kept != nullptr) {
    fclose(kept);
  }
}

void DecoderMessages::Restore() {
  if (saved < 0) {
    return;
  }
  fflush(stderr);
  dup2(saved, 2);
  close(saved);
  saved = -1;
}

std::string DecoderMessages::FirstLine() {
  Restore();
  std::string line;
  if (kept == nullptr) {
    return line;
  }
  rewind(kept);
  for (int c = fgetc(kept); c != EOF && c != '\n'; c = fgetc(kept)) {
    line += static_cast<char>(c);
  }
  return line;
}
