// Every allocation of the program goes through here, so that running out of memory ends it with
// the fatal error box naming the size asked for, instead of an exception thrown through Windows'
// own code (the window procedure is called from inside the system).
#include <cstdio>
#include <cstdlib>
#include <new>

#include "app/program.h"
#include "texts.h"

namespace {
[[noreturn]] void ReportAllocationFailure(std::size_t size) {
  static char message[128];
  std::snprintf(message, sizeof message, "%s%zu%s", text::kFatalAllocHead, size, text::kFatalAllocTail);
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
