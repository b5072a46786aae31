// The viewer's end on a scene it cannot decode, made an ordinary end of one
// fuzz input.
//
// The program sets up libjpeg's standard error manager and installs no
// handler of its own: a fatal decoding error writes its message and ends
// the process with status 1. Under a fuzzing engine that exit would end the
// whole run as a crash. The targets are therefore linked with
// -Wl,--wrap=jpeg_std_error: every standard error manager the product's
// code sets up comes back with an error exit that does what libjpeg's does
// -- formats the message, destroys the decompressor -- and then jumps back
// to RunUntilProgramEnd instead of calling exit(). The product's code is
// not changed; outside RunUntilProgramEnd the standard exit stays.
#ifndef VISTELLO_FUZZ_PROGRAM_END_H
#define VISTELLO_FUZZ_PROGRAM_END_H

// Runs step(context). Returns true when it returned, false when a libjpeg
// fatal error ended it where the program would have ended.
//
// The jump leaves the frames between here and the failing libjpeg call
// without running their destructors. The product's decoder frames hold one
// such object, the decompressor's owner, whose only duty (destroying the
// decompressor) the error exit has already done, as libjpeg's own does
// before it exits. Whatever step allocates must be owned outside it -- a
// SceneBitmap of the caller's, released afterwards -- so that nothing is
// lost either way.
bool RunUntilProgramEnd(void (*step)(void* context), void* context);

#endif  // VISTELLO_FUZZ_PROGRAM_END_H
