// SectionLock and SectionGuard: recursive for the owning thread, exclusive
// against every other thread until fully unlocked.
#include "panorama/section_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

TEST(SectionLock, IsRecursiveForItsOwnerAndExclusiveUntilFullyUnlocked) {
  SectionLock lock;
  std::atomic<bool> other_has_it(false);
  lock.Lock();
  lock.Lock();  // a second entry by the owner must not deadlock
  std::thread other([&] {
    lock.Lock();
    other_has_it = true;
    lock.Unlock();
  });
  lock.Unlock();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(other_has_it) << "one Unlock of two released the lock";
  lock.Unlock();
  other.join();
  EXPECT_TRUE(other_has_it);
}

TEST(SectionLock, GuardsKeepIncrementsFromTwoThreadsApart) {
  SectionLock lock;
  long counter = 0;
  auto work = [&] {
    for (int i = 0; i < 20000; i++) {
      SectionGuard outer(lock);
      SectionGuard inner(lock);  // nested, as a drawing call inside a locked switch
      const long seen = counter;
      std::this_thread::yield();
      counter = seen + 1;
    }
  };
  std::thread first(work);
  std::thread second(work);
  first.join();
  second.join();
  EXPECT_EQ(counter, 40000);
}

}  // namespace
