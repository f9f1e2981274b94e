#pragma once
// Decoding and encoding of fixed-length records: little-endian integers, blank-padded
// single-byte texts, fields packed in declared order.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/field_visitor.h"

namespace qv::data {

// A value that does not fit its field (a text longer than its width).
class EncodeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads fields out of a record buffer. Bytes past the end of `bytes` read as zeros, so a
// short buffer (the missing tail of a partial last record) decodes safely.
class ByteDecoder : public FieldVisitor {
 public:
  explicit ByteDecoder(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  void Text(FieldName name, int offset, int width, std::string& value) override;
  void Int16(FieldName name, int offset, int16_t& value) override;
  void Int32(FieldName name, int offset, int32_t& value) override;

 private:
  uint8_t At(int offset) const;
  std::span<const uint8_t> bytes_;
};

// Writes fields into a record buffer of the record's size.
class ByteEncoder : public FieldVisitor {
 public:
  explicit ByteEncoder(std::span<uint8_t> bytes) : bytes_(bytes) {}
  void Text(FieldName name, int offset, int width, std::string& value) override;
  void Int16(FieldName name, int offset, int16_t& value) override;
  void Int32(FieldName name, int offset, int32_t& value) override;

 private:
  std::span<uint8_t> bytes_;
};

template <typename Record>
Record DecodeRecord(std::span<const uint8_t> bytes) {
  Record record;
  ByteDecoder decoder(bytes);
  VisitFields(record, decoder);
  return record;
}

template <typename Record>
std::vector<uint8_t> EncodeRecord(Record record) {
  std::vector<uint8_t> bytes(Record::kSize, 0);
  ByteEncoder encoder(bytes);
  VisitFields(record, encoder);
  return bytes;
}

}  // namespace qv::data
