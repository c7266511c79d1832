#include "engine/trace/trace_formats.h"

#include <algorithm>

#include "engine/trace/format_readers.h"

namespace trace {

namespace {

struct Format {
  std::u16string_view extensions;  // each with its dot, each followed by a space
  bool (*start)(HitBytes&);        // null: the signature says all there is to check
  Length (*end)(HitBytes&, const LaterHits&);  // null: the format keeps no end File Trace can find
  std::u16string (*kind)(HitBytes&);           // null: one kind of file only
};

// The types of the signature table whose format fixes more than its signature. A type missing here is
// saved at the size chosen for the hits and counted as not read whole.
constexpr Format kFormats[] = {
    // archives
    {u".zip .docx .xlsx .pptx ", ZipStart, ZipEnd, ZipKind},
    {u".7z ", nullptr, SevenZipEnd, nullptr},
    {u".gz ", GzipStart, GzipEnd, nullptr},
    {u".bz2 ", Bzip2Start, Bzip2End, nullptr},
    {u".xz ", nullptr, XzEnd, nullptr},
    {u".cab ", nullptr, CabEnd, nullptr},
    {u".arj ", ArjStart, ArjEnd, nullptr},
    {u".z ", CompressStart, nullptr, nullptr},
    {u".zst ", nullptr, ZstdEnd, nullptr},
    {u".deb ", nullptr, ArEnd, nullptr},
    // documents and data
    {u".doc .xls .ppt .pub .msg ", CompoundStart, CompoundEnd, nullptr},
    {u".pdf ", nullptr, PdfEnd, nullptr},
    {u".ps ", nullptr, PostScriptEnd, nullptr},
    {u".eps ", nullptr, EpsEnd, nullptr},
    {u".rtf ", nullptr, RtfEnd, nullptr},
    {u".wri ", nullptr, WriteEnd, nullptr},
    {u".chm ", nullptr, ChmEnd, nullptr},
    {u".hlp ", nullptr, StatedSize<12, 4, false, 0, 16>, nullptr},
    {u".djvu ", nullptr, StatedSize<8, 4, true, 12, 4>, nullptr},
    {u".wk1 .wk3 .wk4 ", nullptr, LotusEnd, nullptr},
    {u".sqlite ", nullptr, SqliteEnd, nullptr},
    {u".pst .ost ", nullptr, PstEnd, PstKind},
    {u".vcf ", nullptr, VcardEnd, nullptr},
    {u".ics ", nullptr, CalendarEnd, nullptr},
    {u".html ", nullptr, HtmlEnd, nullptr},
    {u".xml ", nullptr, XmlEnd, nullptr},
    {u".torrent ", nullptr, TorrentEnd, nullptr},
    {u".stp ", nullptr, StepEnd, nullptr},
    {u".dxf ", nullptr, DxfEnd, nullptr},
    {u".evtx ", nullptr, EvtxEnd, nullptr},
    {u".pdb ", nullptr, MsfEnd, nullptr},
    // pictures
    {u".jpg ", JpegStart, JpegEnd, nullptr},
    {u".png ", nullptr, PngEnd, nullptr},
    {u".mng .jng ", nullptr, MngEnd, nullptr},
    {u".gif ", GifStart, GifEnd, nullptr},
    {u".bmp ", BmpStart, StatedSize<2, 4, false, 0, 26>, nullptr},
    {u".ico .cur ", IconStart, IconEnd, nullptr},
    {u".tif .cr2 .orf .rw2 ", nullptr, TiffEnd, nullptr},
    {u".psd ", nullptr, PsdEnd, nullptr},
    {u".pcx ", PcxStart, nullptr, nullptr},
    {u".wmf ", nullptr, WmfEnd, nullptr},
    {u".icns ", nullptr, StatedSize<4, 4, true, 0, 8>, nullptr},
    {u".jp2 .jxl ", nullptr, BoxesEnd, nullptr},
    // sound and video
    {u".wav .avi ", RiffStart, RiffEnd, RiffKind},
    {u".aif ", IffStart, IffEnd, nullptr},
    {u".mp3 ", Mp3Start, Mp3End, nullptr},
    {u".aac ", AdtsStart, AdtsEnd, nullptr},
    {u".ogg ", nullptr, OggEnd, nullptr},
    {u".mid ", nullptr, MidiEnd, nullptr},
    {u".au ", nullptr, SunAudioEnd, nullptr},
    {u".wma .wmv ", nullptr, AsfEnd, AsfKind},
    {u".mkv ", nullptr, MatroskaEnd, nullptr},
    {u".flv ", nullptr, FlvEnd, nullptr},
    {u".mp4 .mov .3gp .m4a ", nullptr, BoxesEnd, BoxesKind},
    {u".mpg .vob ", MpegStart, MpegEnd, nullptr},
    {u".voc ", nullptr, VocEnd, nullptr},
    {u".dsf ", nullptr, DsfEnd, nullptr},
    {u".wv ", nullptr, WavPackEnd, nullptr},
    // programs, fonts and models
    {u".exe .dll ", PeStart, PeEnd, PeKind},
    {u".elf ", nullptr, ElfEnd, nullptr},
    {u".dex ", nullptr, StatedSize<32, 4, false, 0, 0x70>, nullptr},
    {u".ttf .otf ", FontStart, FontEnd, nullptr},
    {u".ttc ", nullptr, FontCollectionEnd, nullptr},
    {u".woff .woff2 ", nullptr, StatedSize<8, 4, true, 0, 44>, nullptr},
    {u".swf ", nullptr, SwfEnd, nullptr},
    {u".glb ", nullptr, StatedSize<8, 4, false, 0, 12>, nullptr},
    {u".blend ", nullptr, BlendEnd, nullptr},
    {u".u3d ", nullptr, StatedSize<24, 8, false, 0, 32>, nullptr},
};

// The formats whose start repeats inside their files as a unit of their structure, and the reader that follows
// it (noting each unit): for most the end reader itself; a JPEG lists the pictures appended to it in its header.
struct Repeating {
  std::u16string_view extensions;
  Length (*follow)(HitBytes&, const LaterHits&);
};

constexpr Repeating kRepeating[] = {
    {u".mpg .vob ", MpegEnd},   {u".mp3 ", Mp3End},   {u".aac ", AdtsEnd},  {u".wav .avi ", RiffEnd},
    {u".zip .docx .xlsx .pptx ", ZipEnd},               {u".gz ", GzipEnd},   {u".bz2 ", Bzip2End},
    {u".zst ", ZstdEnd},        {u".wv ", WavPackEnd}, {u".ogg ", OggEnd},   {u".vcf ", VcardEnd},
    {u".jpg ", JpegUnits},
};

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

// The entry of the table whose extensions hold this one (compared without case), else null.
template <typename Entry, size_t kCount>
const Entry* EntryOf(const Entry (&table)[kCount], std::u16string_view extension) {
  if (extension.empty() || extension.size() > 16) return nullptr;
  std::u16string key(extension.size() + 1, u' ');
  std::transform(extension.begin(), extension.end(), key.begin(), Lower);
  for (const Entry& entry : table) {
    for (size_t at = entry.extensions.find(key); at != std::u16string_view::npos;
         at = entry.extensions.find(key, at + 1)) {
      if (at == 0 || entry.extensions[at - 1] == u' ') return &entry;
    }
  }
  return nullptr;
}

const Format* FormatOf(std::u16string_view extension) { return EntryOf(kFormats, extension); }

}  // namespace

bool PlausibleStart(std::u16string_view extension, HitBytes& bytes) {
  const Format* format = FormatOf(extension);
  return format == nullptr || format->start == nullptr || format->start(bytes);
}

FileEnd FindFileEnd(std::u16string_view extension, HitBytes& bytes, const std::vector<uint64_t>& laterHits) {
  const FileEnd cut{bytes.limit(), false};
  const Format* format = FormatOf(extension);
  if (format == nullptr || format->end == nullptr) return cut;
  bytes.ClearNotes();
  const Length length = format->end(bytes, laterHits);
  if (!length || *length == 0 || *length > bytes.limit()) return cut;
  return {*length, !bytes.broken()};
}

int UnitsFamily(std::u16string_view extension) {
  const Repeating* repeating = EntryOf(kRepeating, extension);
  return repeating == nullptr ? -1 : static_cast<int>(repeating - kRepeating);
}

FileUnits FindFileUnits(std::u16string_view extension, HitBytes& bytes) {
  const Repeating* repeating = EntryOf(kRepeating, extension);
  if (repeating == nullptr) return {};
  bytes.ClearNotes();
  const Length length = repeating->follow(bytes, {});
  if (!length || *length == 0) return {};
  FileUnits units;
  units.format = static_cast<int>(repeating - kRepeating);
  units.extent = std::min(*length, bytes.limit());
  for (uint64_t offset : bytes.units()) {
    if (offset < units.extent) units.offsets.push_back(offset);
  }
  return units;
}

std::u16string ContentExtension(std::u16string_view extension, HitBytes& bytes) {
  const Format* format = FormatOf(extension);
  return format == nullptr || format->kind == nullptr ? std::u16string() : format->kind(bytes);
}

}  // namespace trace
