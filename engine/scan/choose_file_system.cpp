#include "engine/scan/choose_file_system.h"

#include "engine/records/file_system_range.h"
#include "engine/records/scan_parameters.h"
#include "platform/os/os.h"

namespace {

const std::array<const char16_t*, 5> kFatCaptions = {u"", u"File System Start    :", u"Sectors Per Cluster :",
                                                      u"File System Size     :", u""};
const std::array<const char16_t*, 5> kNtfsCaptions = {u"File System Start    :", u"Sectors Per Cluster :",
                                                       u"MFT Start               :", u"MFT Mirror Start      :",
                                                       u"File System Size     :"};

using os::Decimal;

void TakeNtfsFields(const FileSystemRecord& found) {
  CurrentFileSystem.type = found.type;
  CurrentFileSystem.sectorsPerFat = found.sectorsPerFat;
  CurrentFileSystem.sectorsPerCluster = found.sectorsPerCluster;
  CurrentFileSystem.clusterBase = found.clusterBase;
  CurrentFileSystem.mftSector = found.mftSector;
  CurrentFileSystem.mftMirrorSector = found.mftMirrorSector;
  CurrentFileSystem.sectorsPerMftRecord = found.sectorsPerMftRecord;
  CurrentFileSystem.sectorsPerIndexRecord = found.sectorsPerIndexRecord;
  CurrentFileSystem.lastSector = found.lastSector;
}

void TakeFatFields(const FileSystemRecord& found) {
  CurrentFileSystem.type = found.type;
  CurrentFileSystem.sectorsPerFat = found.sectorsPerFat;
  CurrentFileSystem.sectorsPerCluster = found.sectorsPerCluster;
  CurrentFileSystem.rootDirectorySectors = found.rootDirectorySectors;
  CurrentFileSystem.rootDirectory = found.rootDirectory;
  CurrentFileSystem.reservedSectors = found.reservedSectors;
  CurrentFileSystem.firstFatSector = found.firstFatSector;
  CurrentFileSystem.secondFatSector = found.secondFatSector;
  CurrentFileSystem.clusterBase = found.clusterBase;
  CurrentFileSystem.lastSector = found.lastSector;
}

}  // namespace

const std::array<const char16_t*, 5>& RowCaptions(FormCaptions kind) {
  return kind == FormCaptions::kNtfs ? kNtfsCaptions : kFatCaptions;
}

FormCaptions CaptionsOfScanRange() {
  return ScanRange.fileSystemCode == records::kNtfs ? FormCaptions::kNtfs : FormCaptions::kFat;
}

std::u16string FileSystemSizeText(uint32_t firstSector, uint32_t lastSector) {
  // Unsigned 32-bit as the record holds them: a last sector below the first wraps rather than failing.
  return Decimal(static_cast<uint32_t>(lastSector - firstSector) >> 11) + u" MB";
}

FileSystemChoice ChooseFileSystem(host::TreeKey item, const std::u16string& text) {
  FileSystemChoice choice;
  if (text.empty() || text == u"File System") {
    choice.changed = true;
    choice.captionsOnly = true;
    choice.captions = CaptionsOfScanRange();
    return choice;
  }
  size_t index = 0;
  while (index < FoundFileSystemList.size() && FoundFileSystemList[index].id != item) ++index;
  if (index == FoundFileSystemList.size() || item == host::kNoTreeKey) return choice;
  const FileSystemRecord& found = FoundFileSystemList[index];
  if (found.type == records::kNtfs) {
    TakeNtfsFields(found);
    choice.captions = FormCaptions::kNtfs;
    choice.values = {Decimal(found.clusterBase), Decimal(found.sectorsPerCluster), Decimal(found.mftSector),
                     Decimal(found.mftMirrorSector), FileSystemSizeText(found.clusterBase, found.lastSector)};
  } else if (found.type == records::kFat16 || found.type == records::kFat32) {
    TakeFatFields(found);
    choice.captions = FormCaptions::kFat;
    choice.firstRowHidden = true;
    // Where the volume begins and how far it reaches, as Drive Information says; not where cluster 0 would lie.
    const uint32_t first = FileSystemFirstSector(found);
    choice.values = {u"", Decimal(first), Decimal(found.sectorsPerCluster),
                     found.lastSector == 0 ? u"Unknown" : FileSystemSizeText(first, found.lastSector), u""};
  } else {
    return choice;
  }
  CurrentFileSystem.id = static_cast<uint32_t>(index + 1);
  choice.changed = true;
  return choice;
}
