// Asks the program's allocator for more memory than any machine has.
#include <cstddef>
#include <new>

int main() {
  volatile std::size_t size = std::size_t{1} << 60;
  // Through a volatile pointer, so the compiler cannot leave the allocation out.
  char* volatile block = static_cast<char*>(::operator new(size));
  return block != nullptr;
}
