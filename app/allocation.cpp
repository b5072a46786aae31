// The executable's allocation functions. The program is built without
// exceptions and asks for memory with new (std::nothrow), checking for
// null. The library's versions of these would throw std::bad_alloc from
// inside, which drags the whole exception-handling runtime into an
// executable that travels by e-mail; these call malloc and report failure
// as null instead. Only the tour executables link this file.
#include <stdlib.h>

#include <new>

void* operator new(size_t size) {
  return malloc(size ? size : 1);
}
void* operator new[](size_t size) {
  return malloc(size ? size : 1);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  return malloc(size ? size : 1);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
  return malloc(size ? size : 1);
}
void operator delete(void* memory) noexcept {
  free(memory);
}
void operator delete[](void* memory) noexcept {
  free(memory);
}
void operator delete(void* memory, size_t) noexcept {
  free(memory);
}
void operator delete[](void* memory, size_t) noexcept {
  free(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
  free(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept {
  free(memory);
}
