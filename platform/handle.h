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

// Most handles are "none" when null; each kind has its own closing function.
template <class Handle, auto CloseFunction>
struct NullHandleTraits {
  using handle_type = Handle;
  static handle_type Invalid() { return nullptr; }
  static void Close(handle_type h) { CloseFunction(h); }
};
struct FileHandleTraits {
  using handle_type = HANDLE;
  static handle_type Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(handle_type h) { CloseHandle(h); }
};

using KernelHandle = UniqueHandle<NullHandleTraits<HANDLE, &CloseHandle>>;
using FileHandle = UniqueHandle<FileHandleTraits>;
using RegKey = UniqueHandle<NullHandleTraits<HKEY, &RegCloseKey>>;
using Library = UniqueHandle<NullHandleTraits<HMODULE, &FreeLibrary>>;
using Font = UniqueHandle<NullHandleTraits<HFONT, &DeleteObject>>;
using Icon = UniqueHandle<NullHandleTraits<HICON, &DestroyIcon>>;
