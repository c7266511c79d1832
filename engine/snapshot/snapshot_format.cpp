#include "engine/snapshot/snapshot_format.h"

#include <algorithm>
#include <cstring>

#include "engine/image/byte_order.h"

#include "engine/image/source_values.h"
#include "engine/records/file_system_range.h"
#include "engine/scan/selected_signatures.h"

namespace snapshot {

namespace {

// Bytes 2 to 11 of every header: "snp4.03" and "1.0" in UTF-16, cut to 7 and 3 bytes.
constexpr uint8_t kSnapshotMark[7] = {'s', 0, 'n', 0, 'p', 0, '4'};
constexpr uint8_t kVersionMark[3] = {'1', 0, '.'};

// Each text follows a u16 length L; the text item (the text, its zero terminator and `extra` further
// zero bytes) is L - overhead bytes long.
struct TextKind {
  uint16_t overhead;
  uint16_t extra;
};
constexpr TextKind kFatFolderName{15, 0};
constexpr TextKind kFatEntryName{21, 2};
constexpr TextKind kNtfsFolderName{27, 2};
constexpr TextKind kNtfsEntryName{37, 2};
constexpr TextKind kSignatureText{15, 0};
constexpr TextKind kHitText{21, 2};

// The smallest record of each list (all texts empty), for checking counts against the file. A folder or
// entry record is its length field and the L bytes it counts; the signature and hit texts are items of
// L - overhead bytes.
constexpr uint64_t kMinFatFolder = 2 + 17;
constexpr uint64_t kMinFatEntry = 2 + 25;
constexpr uint64_t kMinNtfsFolder = 2 + 31;
constexpr uint64_t kMinNtfsEntry = 2 + 41;
constexpr uint64_t kMinSignature = 3 * (2 + 2) + 8;
constexpr uint64_t kMinHit = 3 * (2 + 4) + 8;

uint8_t FlagByte(uint32_t flag) { return static_cast<uint8_t>(flag <= 0xFF ? flag : 1); }

// ---- writing ----------------------------------------------------------------------------------------

// The length field of a text of `units` code units; false when it does not fit in 16 bits.
bool TextLength(size_t units, TextKind kind, uint16_t* length) {
  const uint64_t value = uint64_t{units} * 2 + 2 + kind.extra + kind.overhead;
  if (value > 0xFFFF) return false;
  *length = static_cast<uint16_t>(value);
  return true;
}

// The text, its terminator and the further bytes of its kind; tail, when the kind has two further bytes,
// goes into them.
void PutTextItem(SnapshotOutput& out, std::u16string_view text, TextKind kind, uint16_t tail = 0) {
  out.Text16(text);
  if (kind.extra < 2) {
    out.Zeros(kind.extra);
    return;
  }
  out.U16(tail);
  out.Zeros(kind.extra - 2u);
}

bool PutText(SnapshotOutput& out, std::u16string_view text, TextKind kind, uint16_t tail = 0) {
  uint16_t length = 0;
  if (!TextLength(text.size(), kind, &length)) return false;
  out.U16(length);
  PutTextItem(out, text, kind, tail);
  return true;
}

// A file's name: the name it is shown under, then, when the user renamed it, the name it was found under in
// place of the two further bytes (which readers that know nothing of it skip, as the rest of the item).
struct FileName {
  std::u16string_view shown;
  std::u16string_view found;  // empty: the file keeps the name it was found under
};

bool FileNameLength(const FileName& name, TextKind kind, uint16_t* length) {
  return TextLength(name.shown.size() + name.found.size(), kind, length);
}

void PutFileNameItem(SnapshotOutput& out, const FileName& name, TextKind kind) {
  if (name.found.empty()) {
    PutTextItem(out, name.shown, kind);
    return;
  }
  out.Text16(name.shown);
  out.Text16(name.found);
}

// A FAT entry's times after its names (see FatEntryTimes), the last bytes of its name item: older files end
// the item at the names, and older readers pass these bytes over with the rest of the item.
constexpr uint16_t kFatTimesBytes = 8;

void PutFatTimes(SnapshotOutput& out, const FatEntryTimes& times) {
  out.U16(times.writeTime);
  out.U16(times.creationDate);
  out.U16(times.creationTime);
  out.U8(times.creationHundredths);
  out.U8(0);
}

// The size each hit is saved with, as a hit stores it: 0 for none a user can choose.
uint16_t StoredFileTraceSize() {
  const uint32_t megabytes = LargeFileSize.load();
  return static_cast<uint16_t>(megabytes <= kLargestFileTraceSizeMb ? megabytes : 0);
}

// The signature's hex text as 8-bit characters: n characters, a zero, and n + 1 further zeros.
bool PutHexText(SnapshotOutput& out, const std::string& hex) {
  const uint64_t item = (uint64_t{hex.size()} + 1) * 2;
  if (item + kSignatureText.overhead > 0xFFFF) return false;
  out.U16(static_cast<uint16_t>(item + kSignatureText.overhead));
  out.Bytes(hex.data(), hex.size());
  out.Zeros(hex.size() + 2);
  return true;
}

bool WriteFat(SnapshotOutput& out) {
  out.U32(static_cast<uint32_t>(FatFolderList.size()));
  for (const FatFolderRecord& f : FatFolderList) {
    if (!PutText(out, f.name, kFatFolderName)) return false;
    out.U32(f.firstCluster);
    out.U32(f.parentId);
    out.U16(f.firstDateWord);
    out.U16(f.secondDateWord);
    out.U8(FlagByte(f.deleted));
    out.U16(0);
  }
  out.U32(static_cast<uint32_t>(FatEntryList.size()));
  for (const FatEntryRecord& e : FatEntryList) {
    const FileName name{e.name, e.foundName};
    uint16_t length = 0;
    if (!FileNameLength(name, kFatEntryName, &length) || length > 0xFFFF - kFatTimesBytes) return false;
    out.U16(static_cast<uint16_t>(length + kFatTimesBytes));
    PutFileNameItem(out, name, kFatEntryName);
    PutFatTimes(out, e.times);
    out.U32(e.firstCluster);
    out.U32(e.parentId);
    out.U16(e.firstDateWord);
    out.U16(e.secondDateWord);
    out.U32(e.size);
    out.U8(FlagByte(e.deleted));
    out.U32(e.id);
  }
  return true;
}

struct NtfsEntryFields {
  uint32_t id;
  FileName name;
  uint32_t recordNumber, parentId;
  uint64_t creationTime, modificationTime;
  uint32_t deleted;
  uint64_t size;
};

bool PutNtfsEntry(SnapshotOutput& out, const NtfsEntryFields& e) {
  uint16_t length = 0;
  if (!FileNameLength(e.name, kNtfsEntryName, &length)) return false;
  out.U16(length);
  out.U32(e.id);
  PutFileNameItem(out, e.name, kNtfsEntryName);
  out.U32(e.recordNumber);
  out.U32(e.parentId);
  out.U64(e.creationTime);
  out.U64(e.modificationTime);
  out.U8(FlagByte(e.deleted));
  out.U64(e.size);
  return true;
}

bool WriteNtfs(SnapshotOutput& out, char16_t letter, uint32_t* storedEntries) {
  out.U32(static_cast<uint32_t>(NtfsFolderList.size()));
  for (const NtfsFolderRecord& f : NtfsFolderList) {
    if (!PutText(out, f.name, kNtfsFolderName)) return false;
    out.U32(f.recordNumber);
    out.U32(f.parentId);
    out.U64(f.creationTime);
    out.U64(f.modificationTime);
    out.U8(FlagByte(f.deleted));
    out.U16(0);
  }
  if (letter != kExtensiveScanLetter) {
    *storedEntries = static_cast<uint32_t>(NtfsEntryList.size());
    out.U32(*storedEntries);
    for (const NtfsEntryRecord& e : NtfsEntryList) {
      if (!PutNtfsEntry(out, {e.id, {e.name, e.foundName}, e.recordNumber, e.parentId, e.creationTime,
                              e.modificationTime, e.deleted, e.size})) {
        return false;
      }
    }
    return true;
  }
  uint32_t count = 0;
  for (const NtfsFoundEntryRecord& e : NtfsFoundEntryList) count += InChosenFileSystem(e) ? 1 : 0;
  *storedEntries = count;
  out.U32(count);
  for (const NtfsFoundEntryRecord& e : NtfsFoundEntryList) {
    if (!InChosenFileSystem(e)) continue;
    if (!PutNtfsEntry(out, {e.id, {e.name, e.foundName}, e.recordNumber, e.parentId, e.creationTime,
                            e.modificationTime, e.deleted, e.size})) {
      return false;
    }
  }
  return true;
}

// ---- reading ----------------------------------------------------------------------------------------

// Sends record number x 100 / count of one list, when it changes.
class ListProgress {
 public:
  ListProgress(host::ProgressDialogHost* dialog, uint32_t count) : dialog_(dialog), count_(count) {}
  void Step(uint32_t record) {
    if (dialog_ == nullptr) return;
    const uint32_t percent = static_cast<uint32_t>(uint64_t{record} * 100 / (count_ == 0 ? 1 : count_));
    if (percent == last_) return;
    last_ = percent;
    dialog_->SetPos(percent);
  }

 private:
  host::ProgressDialogHost* dialog_;
  uint32_t count_;
  uint32_t last_ = UINT32_MAX;
};

class Reader {
 public:
  Reader(SnapshotInput& in) : in_(in) {}

  ReadFault fault() const { return fault_; }
  bool ok() const { return fault_ == ReadFault::kNone; }

  // Numbers: a short file ends the reading.
  template <typename T>
  T Number() {
    T value = 0;
    if (!ok()) return value;
    bool read = false;
    if constexpr (sizeof(T) == 1) read = in_.U8(reinterpret_cast<uint8_t*>(&value));
    if constexpr (sizeof(T) == 2) read = in_.U16(reinterpret_cast<uint16_t*>(&value));
    if constexpr (sizeof(T) == 4) read = in_.U32(reinterpret_cast<uint32_t*>(&value));
    if constexpr (sizeof(T) == 8) read = in_.U64(reinterpret_cast<uint64_t*>(&value));
    if (!read) Fail(ReadFault::kEndsEarly);
    return value;
  }
  uint16_t U16() { return Number<uint16_t>(); }
  uint32_t U32() { return Number<uint32_t>(); }
  uint64_t U64() { return Number<uint64_t>(); }
  uint8_t U8() { return Number<uint8_t>(); }
  void Skip(size_t size) {
    if (ok() && !in_.Skip(size)) Fail(ReadFault::kEndsEarly);
  }

  // A count of records of at least minRecord bytes each, which the rest of the file must be able to hold.
  uint32_t Count(uint64_t minRecord) {
    const uint32_t count = U32();
    if (ok() && count > in_.Remaining() / minRecord) Fail(ReadFault::kCountTooLarge);
    return ok() ? count : 0;
  }

  // The length field of a text, as the size of its item.
  size_t TextItemSize(TextKind kind) {
    const uint16_t length = U16();
    if (!ok()) return 0;
    if (length < kind.overhead + 2 + kind.extra || (length - kind.overhead) % 2 != 0) {
      Fail(ReadFault::kBadText);
      return 0;
    }
    return length - kind.overhead;
  }

  // A UTF-16 text item: the text ends at its first zero character, which must lie inside the item.
  std::u16string Text16Item(size_t size) {
    afterTextOffset_ = SIZE_MAX;
    if (!ReadItem(size)) return {};
    size_t units = 0;
    while (units < size / 2 && (item_[2 * units] | item_[2 * units + 1]) != 0) ++units;
    if (units == size / 2) {
      Fail(ReadFault::kBadText);
      return {};
    }
    const size_t tail = 2 * units + 2;
    afterText_ = tail + 2 <= size ? static_cast<uint16_t>(item_[tail] | item_[tail + 1] << 8) : 0;
    afterTextOffset_ = tail;
    return records::GuardAllocation([&] {
      std::u16string text(units, u'\0');
      for (size_t i = 0; i < units; ++i) text[i] = static_cast<char16_t>(item_[2 * i] | item_[2 * i + 1] << 8);
      return text;
    });
  }
  std::u16string Text16(TextKind kind) { return Text16Item(TextItemSize(kind)); }
  // The two bytes after the terminator of the last UTF-16 text item read; 0 when the item ends there.
  uint16_t AfterText() const { return afterText_; }
  // A second text after the terminator of the last UTF-16 text item read (a renamed file's name on disk): empty
  // when the item holds none that ends inside it (older files hold two zero bytes there). With tailSize, the text
  // must end where the item ends or tailSize bytes before (whose bytes then go to tail, and *hasTail is set);
  // anything else gives neither.
  std::u16string SecondText(size_t tailSize = 0, uint8_t* tail = nullptr, bool* hasTail = nullptr) const {
    if (hasTail != nullptr) *hasTail = false;
    if (!ok() || afterTextOffset_ > item_.size()) return {};  // the text item was not read whole
    size_t units = 0;
    const size_t first = afterTextOffset_, count = (item_.size() - first) / 2;
    while (units < count && (item_[first + 2 * units] | item_[first + 2 * units + 1]) != 0) ++units;
    if (units == count) return {};
    if (tailSize != 0) {
      const size_t end = first + 2 * units + 2;
      if (end != item_.size() && end + tailSize != item_.size()) return {};
      if (end + tailSize == item_.size()) {
        std::memcpy(tail, item_.data() + end, tailSize);
        *hasTail = true;
      }
    }
    if (units == 0) return {};
    return records::GuardAllocation([&] {
      std::u16string text(units, u'\0');
      for (size_t i = 0; i < units; ++i) {
        text[i] = static_cast<char16_t>(item_[first + 2 * i] | item_[first + 2 * i + 1] << 8);
      }
      return text;
    });
  }

  // An 8-bit text item, ending at its first zero byte inside the item.
  std::string Text8(TextKind kind) {
    const size_t size = TextItemSize(kind);
    if (!ReadItem(size)) return {};
    const void* zero = std::memchr(item_.data(), 0, size);
    if (zero == nullptr) {
      Fail(ReadFault::kBadText);
      return {};
    }
    return records::GuardAllocation([&] {
      return std::string(reinterpret_cast<const char*>(item_.data()), static_cast<const uint8_t*>(zero) - item_.data());
    });
  }

  void Fail(ReadFault fault) {
    if (ok()) fault_ = fault;
  }

 private:
  bool ReadItem(size_t size) {
    if (!ok()) return false;
    if (size > in_.Remaining()) {
      Fail(ReadFault::kLengthTooLarge);
      return false;
    }
    records::GuardAllocation([&] { item_.resize(size); });
    if (!in_.Bytes(item_.data(), size)) Fail(ReadFault::kEndsEarly);
    return ok();
  }

  SnapshotInput& in_;
  ReadFault fault_ = ReadFault::kNone;
  std::vector<uint8_t> item_;
  uint16_t afterText_ = 0;
  size_t afterTextOffset_ = SIZE_MAX;  // where the last text item read ends in item_
};

template <typename Record, typename ReadOne>
void ReadList(Reader& r, uint64_t minRecord, host::ProgressDialogHost* progress, std::vector<Record>* list,
              ReadOne readOne) {
  const uint32_t count = r.Count(minRecord);
  ListProgress steps(progress, count);
  for (uint32_t i = 0; i < count && r.ok(); ++i) {
    Record record = readOne();
    if (!r.ok()) break;
    records::GuardAllocation([&] { list->push_back(std::move(record)); });
    steps.Step(i + 1);
  }
}

void ReadHeader(Reader& r, SnapshotInput& in, std::u16string_view letters, LoadedSnapshot* loaded) {
  loaded->letter = r.U16();
  if (r.ok() && (loaded->letter == 0 || letters.find(loaded->letter) == std::u16string_view::npos)) {
    r.Fail(ReadFault::kWrongLetter);
  }
  uint8_t mark[7] = {};
  if (r.ok() && !in.Bytes(mark, sizeof mark)) r.Fail(ReadFault::kEndsEarly);
  if (r.ok() && std::memcmp(mark, kSnapshotMark, sizeof mark) != 0) r.Fail(ReadFault::kWrongSnapshot);
  uint8_t version[3] = {};
  if (r.ok() && !in.Bytes(version, sizeof version)) r.Fail(ReadFault::kEndsEarly);
  if (r.ok() && std::memcmp(version, kVersionMark, sizeof version) != 0) r.Fail(ReadFault::kWrongVersion);
}

void ReadParameters(Reader& r, LoadedSnapshot* loaded) {
  ScanRangeRecord& range = loaded->scanRange;
  range.fileSystemCode = r.U16();
  range.startSector = r.U32();
  range.sectorCount = r.U32();
  range.endSector = r.U32();
  range.driveField = r.U16();
  FileSystemRecord& fs = loaded->fileSystem;
  fs.type = r.U16();
  for (uint32_t* field : {&fs.sectorsPerFat, &fs.sectorsPerCluster, &fs.rootDirectorySectors, &fs.reservedSectors,
                          &fs.clusterBase, &fs.firstFatSector, &fs.secondFatSector, &fs.mftSector,
                          &fs.mftMirrorSector, &fs.sectorsPerMftRecord, &fs.sectorsPerIndexRecord,
                          &fs.lastSector}) {
    *field = r.U32();
  }
  fs.id = r.U16();
}

void ReadFat(Reader& r, LoadedSnapshot* loaded, host::ProgressDialogHost* progress) {
  ReadList(r, kMinFatFolder, progress, &loaded->fatFolders, [&] {
    FatFolderRecord f;
    f.name = r.Text16(kFatFolderName);
    f.firstCluster = r.U32();
    f.parentId = r.U32();
    f.firstDateWord = r.U16();
    f.secondDateWord = r.U16();
    f.deleted = r.U8();
    r.Skip(2);
    return f;
  });
  ReadList(r, kMinFatEntry, progress, &loaded->fatEntries, [&] {
    FatEntryRecord e;
    e.name = r.Text16(kFatEntryName);
    uint8_t times[kFatTimesBytes];
    bool hasTimes = false;
    e.foundName = r.SecondText(sizeof times, times, &hasTimes);
    if (hasTimes) e.times = {LoadLe16(times), LoadLe16(times + 2), LoadLe16(times + 4), times[6]};
    e.firstCluster = r.U32();
    e.parentId = r.U32();
    e.firstDateWord = r.U16();
    e.secondDateWord = r.U16();
    e.size = r.U32();
    e.deleted = r.U8();
    e.id = r.U32();
    return e;
  });
}

void ReadNtfs(Reader& r, LoadedSnapshot* loaded, host::ProgressDialogHost* progress) {
  ReadList(r, kMinNtfsFolder, progress, &loaded->ntfsFolders, [&] {
    NtfsFolderRecord f;
    f.name = r.Text16(kNtfsFolderName);
    f.recordNumber = r.U32();
    f.parentId = r.U32();
    f.creationTime = r.U64();
    f.modificationTime = r.U64();
    f.deleted = r.U8();
    r.Skip(2);
    return f;
  });
  ReadList(r, kMinNtfsEntry, progress, &loaded->ntfsEntries, [&] {
    NtfsEntryRecord e;
    const size_t nameSize = r.TextItemSize(kNtfsEntryName);
    e.id = r.U32();
    e.name = r.Text16Item(nameSize);
    e.foundName = r.SecondText();
    e.recordNumber = r.U32();
    e.parentId = r.U32();
    e.creationTime = r.U64();
    e.modificationTime = r.U64();
    e.deleted = r.U8();
    e.size = r.U64();
    return e;
  });
}

void ReadFileTrace(Reader& r, LoadedSnapshot* loaded, host::ProgressDialogHost* progress) {
  ReadList(r, kMinSignature, progress, &loaded->signatures, [&] {
    StoredSignature s;
    s.extension = r.Text16(kSignatureText);
    s.group = r.Text16(kSignatureText);
    s.signatureHex = r.Text8(kSignatureText);
    s.length = static_cast<int32_t>(r.U32());
    s.secondValue = static_cast<int32_t>(r.U32());
    return s;
  });
  ReadList(r, kMinHit, progress, &loaded->hits, [&] {
    FileTraceHit h;
    h.extension = r.Text16(kHitText);
    if (loaded->hits.empty()) loaded->fileTraceSize = r.AfterText();
    h.fileName = r.Text16(kHitText);
    h.group = r.Text16(kHitText);
    h.id = r.U32();
    h.startSector = r.U32();
    return h;
  });
}

void ReadTrailer(Reader& r, SnapshotInput& in, LoadedSnapshot* loaded) {
  loaded->driveIndex = r.U16();
  loaded->sourceKind = r.U16();
  if (!r.ok()) return;
  if (loaded->driveIndex >= kDevicePathRows || loaded->sourceKind < kSourceDisk ||
      loaded->sourceKind > kSourceNothing) {
    r.Fail(ReadFault::kBadTrailer);
  } else if (in.Remaining() != 0) {
    r.Fail(ReadFault::kTrailingBytes);
  }
}

}  // namespace

void WriteHeader(SnapshotOutput& out, char16_t letter) {
  out.U16(letter);
  out.Bytes(kSnapshotMark, sizeof kSnapshotMark);
  out.Bytes(kVersionMark, sizeof kVersionMark);
}

void WriteParameters(SnapshotOutput& out) {
  out.U16(ScanRange.fileSystemCode);
  out.U32(ScanRange.startSector);
  out.U32(ScanRange.sectorCount);
  out.U32(ScanRange.endSector);
  out.U16(ScanRange.driveField);
  const FileSystemRecord& fs = CurrentFileSystem;
  out.U16(fs.type);
  for (uint32_t field : {fs.sectorsPerFat, fs.sectorsPerCluster, fs.rootDirectorySectors, fs.reservedSectors,
                         fs.clusterBase, fs.firstFatSector, fs.secondFatSector, fs.mftSector, fs.mftMirrorSector,
                         fs.sectorsPerMftRecord, fs.sectorsPerIndexRecord, fs.lastSector}) {
    out.U32(field);
  }
  out.U16(static_cast<uint16_t>(fs.id));
}

bool WriteFileSystemBody(SnapshotOutput& out, char16_t letter, uint32_t* storedEntries) {
  if (CurrentFileSystem.type == records::kNtfs) return WriteNtfs(out, letter, storedEntries);
  *storedEntries = static_cast<uint32_t>(FatEntryList.size());
  return WriteFat(out);
}

bool WriteFileTraceBody(SnapshotOutput& out) {
  out.U32(static_cast<uint32_t>(SelectedSignatureList.size()));
  for (const SelectedSignature& s : SelectedSignatureList) {
    if (!PutText(out, s.extension, kSignatureText) || !PutText(out, s.description, kSignatureText) ||
        !PutHexText(out, s.signature)) {
      return false;
    }
    out.U32(static_cast<uint32_t>(s.offset));
    out.U32(static_cast<uint32_t>(s.secondValue));
  }
  out.U32(static_cast<uint32_t>(FileTraceHitList.size()));
  const uint16_t size = StoredFileTraceSize();
  for (const FileTraceHit& h : FileTraceHitList) {
    if (!PutText(out, h.extension, kHitText, size) || !PutText(out, h.fileName, kHitText) ||
        !PutText(out, h.group, kHitText)) {
      return false;
    }
    out.U32(h.id);
    out.U32(h.startSector);
  }
  return true;
}

void WriteTrailer(SnapshotOutput& out) {
  out.U16(CurrentDriveIndex.load());
  out.U16(SourceKind.load());
}

std::u16string ReadFaultMessage(ReadFault fault) {
  switch (fault) {
    case ReadFault::kNone: return {};
    case ReadFault::kWrongLetter: return u"Invalid File.";
    case ReadFault::kWrongSnapshot: return u"Invalid version of the file found : ";
    case ReadFault::kWrongVersion: return u"version of file does not match with current version 1.0";
    case ReadFault::kEndsEarly: return u"The recovery snapshot file is damaged: it ends early.";
    case ReadFault::kCountTooLarge:
      return u"The recovery snapshot file is damaged: a record count exceeds the file.";
    case ReadFault::kLengthTooLarge:
      return u"The recovery snapshot file is damaged: a name is longer than the rest of the file.";
    case ReadFault::kBadText: return u"The recovery snapshot file is damaged: a name has a wrong length.";
    case ReadFault::kBadTrailer:
      return u"The recovery snapshot file is damaged: its drive index or source kind is invalid.";
    case ReadFault::kTrailingBytes:
      return u"The recovery snapshot file is damaged: bytes follow its end.";
  }
  return {};
}

ReadFault ReadSnapshot(SnapshotInput& in, std::u16string_view letters, LoadedSnapshot* loaded,
                       host::ProgressDialogHost* progress) {
  Reader r(in);
  ReadHeader(r, in, letters, loaded);
  ReadParameters(r, loaded);
  if (r.ok()) {
    if (loaded->letter == kFileTraceLetter) {
      ReadFileTrace(r, loaded, progress);
    } else if (loaded->fileSystem.type == records::kNtfs) {
      ReadNtfs(r, loaded, progress);
    } else {
      ReadFat(r, loaded, progress);
    }
  }
  ReadTrailer(r, in, loaded);
  return r.fault();
}

}  // namespace snapshot
