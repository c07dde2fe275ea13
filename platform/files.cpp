#include "platform/files.h"

#include <vector>

void LimitDllSearchToSystemDirectory() {
  using SetDefaultDllDirectoriesFn = decltype(&SetDefaultDllDirectories);
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  const FARPROC proc = kernel ? GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr;
  if (!proc) return;
  const auto limit = reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void (*)()>(proc));
  limit(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

std::string SystemDirectory() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const UINT length = GetSystemDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(length + 1);  // the size it needs, terminating zero included
  }
}

std::string ProgramFilePath() {
  // Long paths exceed MAX_PATH; a full buffer means the path was cut, so try again larger.
  for (DWORD size = MAX_PATH; size <= 32768 * 3; size *= 2) {
    std::vector<char> buffer(size);
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), size);
    if (length == 0) return {};
    if (length < size) return std::string(buffer.data(), length);
  }
  return {};
}

void RemoveFileOrLink(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    // A directory link goes (the link only, never what it names); a real directory stays.
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) RemoveDirectoryA(path.c_str());
    return;
  }
  if (DeleteFileA(path.c_str())) return;
  // A read-only copy left from an earlier run; a link's own attributes are never touched, since
  // setting them would change the file it points to.
  if ((attributes & FILE_ATTRIBUTE_READONLY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
      SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) {
    DeleteFileA(path.c_str());
  }
}

bool CreateNewFile(const std::string& path, std::string_view bytes) {
  FileHandle file(
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  const bool complete =
      WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size();
  file.reset();
  if (!complete) DeleteFileA(path.c_str());
  return complete;
}

FileHandle OpenLockedIfUnchanged(const std::string& path, std::string_view bytes) {
  // Opening the link itself, not its target: a link swapped in meanwhile reads as no content.
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file) return {};
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || static_cast<ULONGLONG>(size.QuadPart) != bytes.size()) return {};
  std::vector<char> content(bytes.size() + 1);
  DWORD read = 0;
  if (!ReadFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr)) return {};
  if (std::string_view(content.data(), read) != bytes) return {};
  return file;
}
