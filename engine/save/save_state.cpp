#include "engine/save/save_state.h"

#include <mutex>

#include "engine/host/host.h"
#include "engine/records/scan_parameters.h"
#include "engine/save/recovered_file.h"
#include "engine/save/save_progress.h"
#include "platform/os/markup_escape.h"
#include "platform/os/os.h"

std::u16string SaveDestination;
std::atomic<uint32_t> SkipCurrentFileFlag{0};
std::atomic<uint32_t> SavedFileCount{0};
uint64_t SaveFileTime = 0;
SaveTallyRecord SaveTally;

namespace {

std::u16string Decimal(uint32_t value) { return os::FromAscii(std::to_string(value)); }

}  // namespace

namespace {
std::atomic<uint64_t> saveGeneration{0};

// The links noted for the report, written on the saving worker and read once it has ended.
std::mutex linksMutex;
std::vector<PassedLink> passedLinks;

// The links part of the report: their count, then each named link with its target.
std::u16string LinksReport() {
  std::u16string text = std::u16string(kLinksText) + Decimal(SaveTally.links);
  for (const PassedLink& link : PassedLinks()) {
    // Names and targets come from the image: escaped, so that the message shows them as they are.
    text += u"\r\n" + msgbox::EscapeMarkup(link.name);
    if (!link.target.empty()) text += u" points to " + msgbox::EscapeMarkup(link.target);
  }
  if (SaveTally.links > kMostLinksNamed) text += u"\r\n...";
  return text;
}
}  // namespace

void NotePassedLink(std::u16string name, std::u16string target) {
  std::lock_guard<std::mutex> lock(linksMutex);
  if (passedLinks.size() < kMostLinksNamed) passedLinks.push_back({std::move(name), std::move(target)});
}

std::vector<PassedLink> PassedLinks() {
  std::lock_guard<std::mutex> lock(linksMutex);
  return passedLinks;
}

uint64_t SaveGeneration() { return saveGeneration.load(); }

void BeginSave() {
  ++saveGeneration;
  SaveAbortFlag = 0;
  SkipCurrentFileFlag = 0;
  SavedFileCount = 0;
  SaveTally.saved = 0;
  SaveTally.unreadable = 0;
  SaveTally.elsewhere = 0;
  SaveTally.links = 0;
  {
    std::lock_guard<std::mutex> lock(linksMutex);
    passedLinks.clear();
  }
  SaveTally.unwritten = 0;
  SaveTally.skipped = 0;
  SaveTally.heldBack = 0;
  save::SetSelection({});
  save::ForgetWrittenFiles();
}

uint32_t SaveResultMessage(std::u16string* text) {
  const uint32_t unreadable = SaveTally.unreadable;
  const uint32_t unwritten = SaveTally.unwritten;
  const std::u16string links = SaveTally.links == 0 ? u"" : u"\r\n" + LinksReport();
  if (SaveTally.saved == 0 && unreadable == 0 && unwritten == 0) {
    // Nothing was written: a success would tell the user the files are safe when none is there, and the
    // filters are not to blame for files the user skipped.
    const uint32_t skipped = SaveTally.skipped;
    if (!links.empty()) {
      *text = u"No file was saved." + links;
    } else if (skipped == 0) {
      *text = u"No file was saved.\r\nThe ticked items held no file that the file filters and the recovery "
              u"settings let through.";
    } else if (SaveTally.heldBack == 0) {
      *text = u"No file was saved.\r\nEvery file was skipped.";
    } else {
      *text = u"No file was saved.\r\nFiles skipped: " + Decimal(skipped) +
              u"\r\nFiles the file filters and the recovery settings held back: " + Decimal(SaveTally.heldBack);
    }
    return host::kError;
  }
  if (unreadable == 0 && unwritten == 0) {
    *text = u" Files Saved successfully." + links;
    return host::kInformation;
  }
  *text = u"Files saved: " + Decimal(SaveTally.saved) + u"\r\nFiles that could not be read whole: " +
          Decimal(unreadable);
  if (unwritten != 0) *text += u"\r\nFiles that could not be written: " + Decimal(unwritten);
  if (unreadable != 0) {
    const bool trace = RecoveryMode == records::kFileTrace;
    *text += u"\r\n" + std::u16string(trace ? kUnreadableTraceText : kUnreadableFilesText);
  }
  if (SaveTally.elsewhere != 0) *text += u" " + std::u16string(kDataElsewhereText);
  *text += links;
  return host::kError;
}

void ReportSaveResult() {
  std::u16string text;
  const uint32_t kind = SaveResultMessage(&text);
  if (host::MessageHost* messages = host::Current().messages) messages->MessageDialog(text, kind);
}
