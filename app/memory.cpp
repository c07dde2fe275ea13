// Every allocation of the program goes through here, so that running out of memory ends it with
// the fatal error box naming the size asked for, instead of an exception thrown through Windows'
// own code (the window procedure is called from inside the system).
#include <cstdlib>
#include <cstring>
#include <new>

#include "app/program.h"
#include "texts.h"

namespace {
// No heap and no formatter here: the message is put together in place.
[[noreturn]] void ReportAllocationFailure(std::size_t size) {
  static char message[128];
  char digits[24];
  char* first = digits + sizeof digits;
  do {
    *--first = static_cast<char>('0' + size % 10);
    size /= 10;
  } while (size != 0);
  char* end = message;
  end = std::strcpy(end, text::kFatalAllocHead) + std::strlen(text::kFatalAllocHead);
  std::memcpy(end, first, digits + sizeof digits - first);
  end += digits + sizeof digits - first;
  std::strcpy(end, text::kFatalAllocTail);
  ReportFatalError(message);
}
}  // namespace

void* operator new(std::size_t size) {
  if (void* block = std::malloc(size ? size : 1)) return block;
  ReportAllocationFailure(size);
}
void* operator new[](std::size_t size) {
  return operator new(size);
}
void operator delete(void* block) noexcept {
  std::free(block);
}
void operator delete[](void* block) noexcept {
  std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
  std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
  std::free(block);
}

// The program throws nothing; should anything ever reach std::terminate, it ends at once. Taking
// the place of the library's verbose handler also keeps its symbol demangler (about a sixth of
// the file) out of the program.
namespace __gnu_cxx {
[[noreturn]] void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
