#include "data/record_file.h"

#include <system_error>

#include "core/vb_error.h"
#include "core/vb_math.h"

namespace qv::data {

namespace fs = std::filesystem;

int16_t RecordCount(uint64_t length, int record_length) {
  return ToInt16(static_cast<double>(length) / static_cast<double>(record_length));
}

RecordFile::RecordFile(const GameFolder& folder, std::string_view path_literal, int record_length)
    : path_(folder.Resolve(folder.AppPath() + std::string(path_literal))),
      record_length_(record_length) {
  std::error_code ec;
  fs::file_status parent = fs::status(path_.parent_path(), ec);
  if (!fs::is_directory(parent)) Raise(kErrPathNotFound);
  fs::file_status status = fs::status(path_, ec);
  if (!fs::exists(status)) return;  // no records yet
  if (!fs::is_regular_file(status)) Raise(kErrPathFileAccess);
  stream_ = std::make_unique<std::ifstream>(path_, std::ios::binary);
  if (!*stream_) Raise(kErrPathFileAccess);
  length_ = fs::file_size(path_, ec);
  if (ec) Raise(kErrPathFileAccess);
}

int16_t RecordFile::Count() const {
  return RecordCount(length_, record_length_);
}

std::vector<uint8_t> RecordFile::Read(int64_t record_number) const {
  if (record_number < 1) Raise(kErrBadRecordNumber);
  std::vector<uint8_t> bytes(static_cast<size_t>(record_length_), 0);
  auto index = static_cast<uint64_t>(record_number - 1);
  if (!stream_ || index >= length_ / static_cast<uint64_t>(record_length_) + 1) return bytes;
  uint64_t offset = index * static_cast<uint64_t>(record_length_);
  if (offset >= length_) return bytes;
  stream_->clear();
  stream_->seekg(static_cast<std::streamoff>(offset));
  stream_->read(reinterpret_cast<char*>(bytes.data()), record_length_);
  if (stream_->bad()) Raise(kErrPathFileAccess);
  return bytes;
}

}  // namespace qv::data
