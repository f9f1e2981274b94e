#pragma once
// A random-access file of fixed-length records, opened for reading. Record n occupies
// bytes (n - 1) * length .. n * length - 1; there is no header.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string_view>
#include <vector>

#include "data/game_folder.h"

namespace qv::data {

class RecordFile {
 public:
  // Opens AppPath + path literal. A missing file is not an error: it has no records and
  // is not created (the game folder may be read-only). A missing folder raises "Path not
  // found" (76); a folder or an unreadable file in its place "Path/File access error" (75).
  RecordFile(const GameFolder& folder, std::string_view path_literal, int record_length);

  int record_length() const { return record_length_; }
  uint64_t length() const { return length_; }
  const std::filesystem::path& path() const { return path_; }

  // The number of records: length / record length rounded to the nearest whole number,
  // halves to even, as a 16-bit count; more than 32767 raises Overflow (6).
  int16_t Count() const;

  // Reads record n. A record past the end, and the missing tail of a partial last record,
  // read as zeros. A record number below 1 raises "Bad record number" (63).
  std::vector<uint8_t> Read(int64_t record_number) const;

 private:
  std::filesystem::path path_;
  int record_length_;
  uint64_t length_ = 0;
  std::unique_ptr<std::ifstream> stream_;  // null when the file does not exist
};

// length / record_length rounded half to even, as a 16-bit count (Overflow above 32767).
int16_t RecordCount(uint64_t length, int record_length);

}  // namespace qv::data
