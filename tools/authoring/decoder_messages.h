// DecoderMessages: what the photo decoders write to the standard error
// stream, kept off it while a photo is read.
//
// OpenCV's codecs and the libraries under them (libpng above all: a line
// for every damaged file) write their complaints to the standard error
// stream, where photo_convert's refusal goes as the two lines its caller
// reads -- the problem, then its fix. While an object of this class lives,
// that stream (descriptor 2) goes to a file of its own; the destructor
// puts it back. Not copyable: one redirection, undone once.
#ifndef VISTELLO_TOOLS_AUTHORING_DECODER_MESSAGES_H
#define VISTELLO_TOOLS_AUTHORING_DECODER_MESSAGES_H

#include <stdio.h>

#include <string>

class DecoderMessages {
 public:
  DecoderMessages();
  ~DecoderMessages();
  DecoderMessages(const DecoderMessages&) = delete;
  DecoderMessages& operator=(const DecoderMessages&) = delete;

  // Puts the stream back and returns the first line written meanwhile,
  // without its line end; empty when there was none.
  std::string FirstLine();

 private:
  void Restore();

  FILE* kept;  // where the messages go; null when it could not be made
  int saved;   // the stream's own descriptor, -1 once restored
};

#endif  // VISTELLO_TOOLS_AUTHORING_DECODER_MESSAGES_H
