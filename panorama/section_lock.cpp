// SectionLock: owns one heap-allocated critical section.
#include "panorama/section_lock.h"

#include <stdlib.h>

// malloc rather than new: the product is built without exceptions, and a
// failed allocation here has no caller that could do better than stop.
SectionLock::SectionLock()
    : section(static_cast<CRITICAL_SECTION*>(malloc(sizeof(CRITICAL_SECTION)))) {
  if (section == nullptr) {
    abort();
  }
  InitializeCriticalSection(section);
}

SectionLock::~SectionLock() {
  DeleteCriticalSection(section);
  free(section);
}

void SectionLock::Lock() {
  EnterCriticalSection(section);
}

void SectionLock::Unlock() {
  LeaveCriticalSection(section);
}
