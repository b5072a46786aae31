// SectionLock: the view's lock, one Win32 critical section on the heap;
// SectionGuard holds it for the length of a scope.
//
// Like any critical section it is recursive: the owning thread may lock it
// again and must unlock it as often. The view's lock order (state lock never
// held while taking the scene lock) is written beside the locks in the view.
#ifndef VISTELLO_PANORAMA_SECTION_LOCK_H
#define VISTELLO_PANORAMA_SECTION_LOCK_H

#include <windows.h>

class SectionLock {
 public:
  // Allocates and initialises the critical section. Running out of memory
  // for these few bytes ends the process: a view without its locks cannot
  // run its threads safely, and there is nothing sensible to fall back to.
  SectionLock();
  virtual ~SectionLock();

  SectionLock(const SectionLock&) = delete;
  SectionLock& operator=(const SectionLock&) = delete;

  void Lock();
  void Unlock();

 private:
  CRITICAL_SECTION* section;
};

// Locks on construction and unlocks on destruction, so no return path of a
// locked region can leave the lock held.
class SectionGuard {
 public:
  explicit SectionGuard(SectionLock& lock) : lock(lock) { lock.Lock(); }
  ~SectionGuard() { lock.Unlock(); }

  SectionGuard(const SectionGuard&) = delete;
  SectionGuard& operator=(const SectionGuard&) = delete;

 private:
  SectionLock& lock;
};

#endif  // VISTELLO_PANORAMA_SECTION_LOCK_H
