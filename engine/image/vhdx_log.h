// The log of a VHDX file: the changes to its own structures (the block table, the metadata) that were written to
// the log and perhaps not yet to their places when the disk was last in use, as a machine that stopped without
// closing it leaves them. The changes of the log's active sequence are laid over what is read from the file, in
// memory: the file is never written.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "engine/image/image_file.h"

enum class VhdxLogState {
  kEmpty,     // the current header names no log, or the log holds no sequence to replay
  kReplayed,  // the active sequence's changes are laid over what is read
  kNotRead,   // there may be changes, but they cannot be read: no header is whole, or the log lies out of reach
};

class VhdxLog {
 public:
  // The largest log read; the format's tools write logs of 1 MiB.
  static constexpr uint64_t kMaxLogBytes = 32ull << 20;

  // Reads the two headers and, when the current one names a log, finds the log's active sequence and keeps
  // its changes.
  VhdxLogState Load(ImageFile& file);
  VhdxLogState State() const { return state_; }
  // Lays the kept changes over length bytes that were read from the file at offset.
  void Overlay(uint64_t offset, uint8_t* bytes, uint32_t length) const;
  void Clear();

 private:
  struct Entry {
    uint64_t position = 0;  // from the start of the log
    uint64_t length = 0;
    uint64_t sequence = 0;
    uint64_t tail = 0;
  };
  struct Piece {
    uint64_t end = 0;
    uint64_t data = 0;  // where the piece's bytes start in data_; kZeros: zeros
  };
  static constexpr uint64_t kZeros = ~uint64_t{0};

  VhdxLogState FindAndKeep(const std::vector<uint8_t>& log, const uint8_t* guid);
  bool EntryAt(const std::vector<uint8_t>& log, uint64_t position, const uint8_t* guid, Entry* out) const;
  void Keep(const std::vector<uint8_t>& log, const Entry& entry);
  void Put(uint64_t start, uint64_t end, uint64_t data);

  VhdxLogState state_ = VhdxLogState::kEmpty;
  std::map<uint64_t, Piece> pieces_;  // by file offset; never overlapping
  std::vector<uint8_t> data_;         // the 4 KiB pages the data descriptors write
};
