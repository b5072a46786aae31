// Linux implementations of the few Win32 calls the portable core makes.
#include <windows.h>

#include <cstdlib>
#include <mutex>

namespace {

// Each block carries its size just in front of the caller's bytes, so that
// GlobalSize and GlobalHandle need no table.
struct BlockHeader {
  SIZE_T size;
  alignas(std::max_align_t) unsigned char bytes[1];
};
constexpr SIZE_T kHeaderBytes = offsetof(BlockHeader, bytes);

BlockHeader* HeaderOf(LPCVOID block) {
  return reinterpret_cast<BlockHeader*>(
      const_cast<unsigned char*>(static_cast<const unsigned char*>(block)) - kHeaderBytes);
}

}  // namespace

HGLOBAL GlobalAlloc(UINT, SIZE_T bytes) {
  if (bytes > SIZE_MAX - kHeaderBytes) {
    return nullptr;
  }
  auto* header = static_cast<BlockHeader*>(std::malloc(kHeaderBytes + bytes));
  if (header == nullptr) {
    return nullptr;
  }
  header->size = bytes;
  return header->bytes;
}

LPVOID GlobalLock(HGLOBAL memory) {
  return memory;
}
BOOL GlobalUnlock(HGLOBAL memory) {
  return FALSE;
}
HGLOBAL GlobalHandle(LPCVOID pointer) {
  return const_cast<LPVOID>(pointer);
}
SIZE_T GlobalSize(HGLOBAL memory) {
  return memory ? HeaderOf(memory)->size : 0;
}

HGLOBAL GlobalFree(HGLOBAL memory) {
  if (memory != nullptr) {
    std::free(HeaderOf(memory));
  }
  return nullptr;
}

void InitializeCriticalSection(LPCRITICAL_SECTION section) {
  section->mutex = new std::recursive_mutex;
}

void DeleteCriticalSection(LPCRITICAL_SECTION section) {
  delete static_cast<std::recursive_mutex*>(section->mutex);
  section->mutex = nullptr;
}

void EnterCriticalSection(LPCRITICAL_SECTION section) {
  static_cast<std::recursive_mutex*>(section->mutex)->lock();
}

void LeaveCriticalSection(LPCRITICAL_SECTION section) {
  static_cast<std::recursive_mutex*>(section->mutex)->unlock();
}
