#include "data/record_codec.h"

#include <cstring>

namespace qv::data {

uint8_t ByteDecoder::At(int offset) const {
  return offset >= 0 && static_cast<size_t>(offset) < bytes_.size() ? bytes_[offset] : 0;
}

void ByteDecoder::Text(FieldName, int offset, int width, std::string& value) {
  value.assign(static_cast<size_t>(width), '\0');
  for (int i = 0; i < width; ++i)
    value[i] = static_cast<char>(At(offset + i));
}

void ByteDecoder::Int16(FieldName, int offset, int16_t& value) {
  auto raw = static_cast<uint16_t>(At(offset) | (At(offset + 1) << 8));
  value = static_cast<int16_t>(raw);
}

void ByteDecoder::Int32(FieldName, int offset, int32_t& value) {
  uint32_t raw = 0;
  for (int i = 3; i >= 0; --i)
    raw = (raw << 8) | At(offset + i);
  value = static_cast<int32_t>(raw);
}

void ByteEncoder::Text(FieldName name, int offset, int width, std::string& value) {
  if (value.size() > static_cast<size_t>(width)) {
    throw EncodeError(std::string(name.name) + ": text of " + std::to_string(value.size()) +
                      " bytes is longer than its field of " + std::to_string(width));
  }
  std::memset(bytes_.data() + offset, ' ', static_cast<size_t>(width));
  std::memcpy(bytes_.data() + offset, value.data(), value.size());
}

void ByteEncoder::Int16(FieldName, int offset, int16_t& value) {
  auto raw = static_cast<uint16_t>(value);
  bytes_[offset] = static_cast<uint8_t>(raw & 0xFF);
  bytes_[offset + 1] = static_cast<uint8_t>(raw >> 8);
}

void ByteEncoder::Int32(FieldName, int offset, int32_t& value) {
  auto raw = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i)
    bytes_[offset + i] = static_cast<uint8_t>((raw >> (8 * i)) & 0xFF);
}

}  // namespace qv::data
