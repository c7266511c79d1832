#include "engine/scan/file_trace.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/host/host.h"
#include "engine/image/read_sectors.h"
#include "engine/image/source_values.h"
#include "engine/ntfs/mft_record.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/result_tree_builders.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "engine/scan/boot_parameters.h"
#include "engine/scan/compound_file.h"
#include "engine/scan/extensive_report.h"
#include "engine/scan/results_tree_build.h"
#include "engine/scan/scan_drive.h"
#include "engine/scan/scan_end.h"
#include "engine/scan/selected_signatures.h"
#include "engine/scan/signature_index.h"
#include "engine/trace/file_runs.h"
#include "engine/trace/trace_formats.h"

namespace {

using extensive::Decimal;

// Hits record their sector in 32 bits: the search never looks past the last such sector.
constexpr uint64_t kLastHitSector = 0xFFFFFFFFu;

void ShowTraceStatus(const std::u16string& text) {
  if (host::SecondDisplayHost* panel = host::Current().secondDisplay) panel->SetStatusText(text);
}

void ShowTraceRow(host::SecondDisplayRow row, const std::u16string& text) {
  if (host::SecondDisplayHost* panel = host::ScanProgressPanel()) panel->SetRowValue(row, text);
}

// The parameters from the boot sector, else from the FAT search; false when neither gives them (a stop
// during the search counts as not found).
bool FindTraceParameters() {
  if (ReadBootParameters() == 1) return true;
  ShowTraceStatus(u"Please wait, Calculating partition parameters...");
  return SearchFatParameters() == 1;
}

constexpr char kCompoundSignature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

// The bytes of a sector's file, up to the size its hits are saved with: the search's block as far as it
// reaches, then the source.
std::unique_ptr<trace::SourceBytes> SectorFile(uint64_t sector, const uint8_t* head, size_t headSize) {
  const uint32_t megabytes = LargeFileSize.load() != 0 ? LargeFileSize.load() : kDefaultFileTraceSizeMb;
  auto read = [](uint64_t first, uint32_t count, uint8_t* buffer) {
    return ReadSectors(ntfs::CurrentDevicePath(), static_cast<uint32_t>(first), static_cast<uint32_t>(first >> 32),
                       count, buffer) == 1;
  };
  return records::GuardAllocation([&] {
    return std::make_unique<trace::SourceBytes>(sector, uint64_t{megabytes} << 20, read, head, headSize);
  });
}

// What the file is, when its signature starts several kinds: a compound file is named after the application
// that wrote it (or as an Outlook message), the others by what their format holds.
std::u16string Classify(const SelectedSignature& matched, uint32_t sector, trace::HitBytes& bytes) {
  if (bytes.Holds(0, std::string_view(kCompoundSignature, 8))) return ClassifyCompoundFile(sector);
  return trace::ContentExtension(matched.extension, bytes);
}

class Search {
 public:
  // match: null for the index of the selected signatures.
  explicit Search(SignatureMatch match) : match_(match) {}

  // Walks the blocks of the range until one of the ends of FileTraceSearch.
  void Run() {
    std::vector<uint8_t> block;
    records::GuardAllocation([&] { block.assign(size_t{kFileTraceBlockSectors} * kSectorSize, 0); });
    const SignatureIndex signatures(SelectedSignatureList);
    uint64_t current = ScanRange.startSector;
    const uint64_t end = ScanRange.endSector;
    while (!ScanStopRequested() && current <= kLastHitSector) {
      // A block that cannot be read whole (the last of a disk whose end lies inside it) is examined up to its
      // first sector that cannot be read, and the search ends there: a signature of zeros would match the
      // zeros that stand for what was not read.
      const uint32_t readable =
          ReadReadableSectors(ntfs::CurrentDevicePath(), current, kFileTraceBlockSectors, block.data());
      if (readable == 0) break;
      ShowBlock(current, end);
      for (uint32_t i = 0; i < readable && current <= kLastHitSector && !ScanStopRequested(); ++i) {
        if (hits_ % 10 == 0) ShowProgress();
        const uint8_t* sector = block.data() + size_t{i} * kSectorSize;
        // Made on the first signature that matches: a short one also matches by chance, and the bytes
        // after it tell. Nothing is allocated for a sector no signature matches.
        std::unique_ptr<trace::SourceBytes> file;
        auto plausible = [&](const SelectedSignature& node) {
          if (!file) file = SectorFile(current, sector, size_t{readable - i} * kSectorSize);
          return trace::PlausibleStart(node.extension, *file);
        };
        // A file found before that goes on here (a stream's next pack, a song's next frame) is no new hit.
        const SelectedSignature* matched = nullptr;
        if (!runs_.GoesOn(current)) {
          matched = match_ != nullptr ? match_(sector, kSectorSize, plausible)
                                      : signatures.Match(sector, kSectorSize, plausible);
        }
        if (matched != nullptr) {
          RecordHit(*matched, static_cast<uint32_t>(current), *file);
        }
        ++current;
        ++examined_;
      }
      if (current > end || readable < kFileTraceBlockSectors) break;
    }
  }

 private:
  static void ShowBlock(uint64_t current, uint64_t end) {
    host::SecondDisplayHost* panel = host::ScanProgressPanel();
    if (panel == nullptr) return;
    panel->SetRowValue(host::kCurrentSectorRow, Decimal(current));
    panel->SetRowValue(host::kFoldersFoundRow, u"0");
    panel->SetStatusText(u"Reading Sector " + Decimal(current) + u" Of " + Decimal(end));
  }

  // Sectors examined out of the end sector (an end sector of 0 counts as 1), held at 99; sent only when
  // it moves.
  void ShowProgress() {
    const uint32_t percent = extensive::HeldPercent(examined_, std::max<uint64_t>(ScanRange.endSector, 1));
    if (percent == shownPercent_) return;
    host::SecondDisplayHost* panel = host::ScanProgressPanel();
    if (panel == nullptr) return;
    panel->SetProgressPos(percent);
    shownPercent_ = percent;
  }

  void RecordHit(const SelectedSignature& matched, uint32_t sector, trace::HitBytes& file) {
    ++hits_;
    const std::u16string extension = HitExtension(matched, Classify(matched, sector, file));
    const std::u16string name = Decimal(hits_) + extension;
    AppendFileTraceHit(name, extension, matched.description, hits_, sector);
    runs_.Found(sector, extension, file);
    ++ScanCounters.entryCount;
    if (ScanCounters.entryCount >= 2) ScanCounters.folderCount = ScanCounters.entryCount;
    ShowTraceRow(host::kFilesFoundRow, Decimal(hits_));
    ShowTraceRow(host::kLastFileFolderRow, name);
  }

  SignatureMatch match_;
  trace::FileRuns runs_;
  uint32_t hits_ = 0;
  uint64_t examined_ = 0;
  uint32_t shownPercent_ = UINT32_MAX;
};

uint32_t Trace() {
  if (SourceKind.load() == kSourceLogicalDrive && !OpenScanLogicalDrive()) {
    ReportScanFailure(kDriveNotOpened, false);
    return 0;
  }
  if (!FindTraceParameters()) {
    ReportScanFailure(kPartitionParametersNotFound, true);
    return 0;
  }
  if (host::SecondDisplayHost* panel = host::Current().secondDisplay) panel->SetCounterLabels();
  ShowTraceStatus(u"Please wait, Searching for Data...");
  FileTraceSearch();
  return 1;
}

}  // namespace

void FileTraceSearch() { FileTraceSearchWith(nullptr); }

void FileTraceSearchWith(SignatureMatch match) {
  FreeFileTraceResultList();
  ScanCounters.entryCount = 0;
  ScanCounters.folderCount = 0;
  Search(match).Run();
  BuildScanResultsTree(
      u"Please wait creating tree", [](host::TreeKey root) { AddFileTraceGroups(root); },
      [] {
        if (ResultListers.listFileTraceGroups != nullptr) ResultListers.listFileTraceGroups();
      });
}

uint32_t FileTraceThread() { return RunScanWorker(Trace); }
