#pragma once
// One owner for every kind of Windows handle. The traits say what "no handle" is, which differs:
// most functions use NULL, file functions INVALID_HANDLE_VALUE.
#include <windows.h>

#include <utility>

template <class Traits>
class UniqueHandle {
 public:
  using handle_type = typename Traits::handle_type;

  UniqueHandle() = default;
  explicit UniqueHandle(handle_type handle) : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  handle_type get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Invalid(); }
  handle_type release() { return std::exchange(handle_, Traits::Invalid()); }
  void reset(handle_type handle = Traits::Invalid()) {
    if (handle_ != Traits::Invalid()) Traits::Close(handle_);
    handle_ = handle;
  }

 private:
  handle_type handle_ = Traits::Invalid();
};

struct KernelHandleTraits {
  using handle_type = HANDLE;
  static handle_type Invalid() { return nullptr; }
  static void Close(handle_type h) { CloseHandle(h); }
};
struct FileHandleTraits {
  using handle_type = HANDLE;
  static handle_type Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(handle_type h) { CloseHandle(h); }
};
struct RegKeyTraits {
  using handle_type = HKEY;
  static handle_type Invalid() { return nullptr; }
  static void Close(handle_type h) { RegCloseKey(h); }
};
struct LibraryTraits {
  using handle_type = HMODULE;
  static handle_type Invalid() { return nullptr; }
  static void Close(handle_type h) { FreeLibrary(h); }
};
struct FontTraits {
  using handle_type = HFONT;
  static handle_type Invalid() { return nullptr; }
  static void Close(handle_type h) { DeleteObject(h); }
};
struct IconTraits {
  using handle_type = HICON;
  static handle_type Invalid() { return nullptr; }
  static void Close(handle_type h) { DestroyIcon(h); }
};

using KernelHandle = UniqueHandle<KernelHandleTraits>;
using FileHandle = UniqueHandle<FileHandleTraits>;
using RegKey = UniqueHandle<RegKeyTraits>;
using Library = UniqueHandle<LibraryTraits>;
using Font = UniqueHandle<FontTraits>;
using Icon = UniqueHandle<IconTraits>;
