// The archive reader of the preview over an arbitrary file: taken as a ZIP archive, a plain gzip stream or
// a tar archive inside one, its members counted and each one described. Every member handed out must lie
// inside the held data, and the first member's text must come out whatever the bytes.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_flags.h"
#include "preview/archive/tar_gz_archive.h"

namespace {

const std::string& FilePath() {
  static const std::string path = [] {
    const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(dir) + "/dorvane_fuzz_" + std::to_string(getpid()) + ".tgz";
  }();
  return path;
}

bool WriteInput(const uint8_t* data, size_t size) {
  const int fd = open(FilePath().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) return false;
  const bool ok = write(fd, data, size) == static_cast<ssize_t>(size);
  close(fd);
  return ok;
}

}  // namespace

DORVANE_FUZZ_FLAGS("-max_len=65536")

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!WriteInput(data, size)) return 0;
  const std::u16string path(FilePath().begin(), FilePath().end());
  TarGzArchive archive;
  if (archive.Open(path) == 1) {
    const int32_t count = archive.GetFileCount();
    for (int32_t i = 0; i < count && i < 64; ++i) {
      ArchiveMember member;
      if (archive.GetFileAt(i, &member) != 1) continue;
      if (member.size > kMaxArchiveData || (member.size > 0 && member.data == nullptr)) std::abort();
    }
    // A plain gzip stream is one member whatever the index; the others end at their count.
    ArchiveMember past;
    if (archive.GetKind() != TarGzArchive::kGzip && count >= 0 && archive.GetFileAt(count, &past) == 1) std::abort();
    archive.Close();
  }
  TarGzArchive again;
  std::u16string text;
  LoadGzipText(again, path, &text);
  return 0;
}
