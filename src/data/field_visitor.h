#pragma once
// Every record layout lists its fields once, in file order, with the byte offset of
// each. Decoding, encoding, the JSON of the game-data tools and the layout check are
// all visitors over that one list, so a layout cannot disagree with itself.

#include <cstdint>
#include <string>
#include <string_view>

namespace qv::data {

// A field's name; index >= 0 makes it element `index` of the array `name`.
struct FieldName {
  std::string_view name;
  int index = -1;
};

class FieldVisitor {
 public:
  virtual ~FieldVisitor() = default;

  // A fixed-width single-byte text. Decoded values hold the raw bytes, padding
  // included; values to encode may be shorter than the width and are blank-padded.
  virtual void Text(FieldName name, int offset, int width, std::string& value) = 0;
  // A 16-bit signed little-endian integer.
  virtual void Int16(FieldName name, int offset, int16_t& value) = 0;
  // A 32-bit signed little-endian integer.
  virtual void Int32(FieldName name, int offset, int32_t& value) = 0;

  // Fields between BeginGroup and EndGroup belong to element `index` of a list of
  // sub-records called `name` (the 20 object slots of a scene).
  virtual void BeginGroup(std::string_view /*name*/, int /*index*/) {}
  virtual void EndGroup() {}
};

}  // namespace qv::data
