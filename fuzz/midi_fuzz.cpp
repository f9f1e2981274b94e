// Fuzzes the MIDI check, our reading and FluidSynth's trial of the piece: any bytes are
// either accepted or refused with "Invalid file format"; nothing crashes, reads out of
// bounds or hangs.

#include <cstdint>
#include <cstdlib>

#include "core/vb_error.h"
#include "platform/music_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  try {
    qv::platform::CheckMidi(bytes);
  } catch (const qv::VbError& e) {
    if (e.number() != qv::kErrInvalidFileFormat) std::abort();
  }
  return 0;
}
