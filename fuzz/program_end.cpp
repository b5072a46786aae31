// The wrapped jpeg_std_error and the jump back from a fatal decoding error.
#include "fuzz/program_end.h"

#include <setjmp.h>
#include <stdio.h>

#include <jpeglib.h>

extern "C" jpeg_error_mgr* __real_jpeg_std_error(jpeg_error_mgr* errors);
extern "C" jpeg_error_mgr* __wrap_jpeg_std_error(jpeg_error_mgr* errors);

namespace {

// The engine runs one input at a time on one thread.
jmp_buf* program_end = nullptr;
void (*standard_error_exit)(j_common_ptr decoder) = nullptr;
void (*standard_output_message)(j_common_ptr decoder) = nullptr;

// Inside RunUntilProgramEnd a message is formatted as the program formats
// it (the add-on table included) but not written: thousands of inputs a
// second would drown the engine's own report.
void FormatMessage(j_common_ptr decoder) {
  if (program_end == nullptr) {
    standard_output_message(decoder);
    return;
  }
  char message[JMSG_LENGTH_MAX];
  (*decoder->err->format_message)(decoder, message);
}

void EndLikeTheProgram(j_common_ptr decoder) {
  if (program_end == nullptr) {
    standard_error_exit(decoder);
    return;
  }
  FormatMessage(decoder);
  jpeg_destroy(decoder);
  longjmp(*program_end, 1);
}

}  // namespace

jpeg_error_mgr* __wrap_jpeg_std_error(jpeg_error_mgr* errors) {
  __real_jpeg_std_error(errors);
  standard_error_exit = errors->error_exit;
  standard_output_message = errors->output_message;
  errors->error_exit = EndLikeTheProgram;
  errors->output_message = FormatMessage;
  return errors;
}

bool RunUntilProgramEnd(void (*step)(void* context), void* context) {
  jmp_buf end;
  if (setjmp(end) != 0) {
    program_end = nullptr;
    return false;
  }
  program_end = &end;
  step(context);
  program_end = nullptr;
  return true;
}
