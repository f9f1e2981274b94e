// Fuzzes the reading of sound files from game data: any bytes either decode into a WAV
// sound in the mixing format or are refused with "Invalid file format"; the MIDI check
// accepts or refuses the same way. Nothing crashes, reads out of bounds or allocates
// beyond the budget.

#include <cstdint>
#include <cstdlib>

#include "core/vb_error.h"
#include "platform/music_files.h"
#include "platform/sound_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  try {
    static qv::platform::MemoryBudget budget;
    const qv::platform::DecodedSound sound = qv::platform::DecodeWav(bytes, budget);
    if (sound.samples.size() % qv::platform::kMixChannels != 0 ||
        sound.bytes() > qv::platform::kMaxDecodedBytes) {
      std::abort();
    }
  } catch (const qv::VbError& e) {
    if (e.number() != qv::kErrInvalidFileFormat && e.number() != qv::kErrOutOfMemory) std::abort();
  }
  try {
    qv::platform::CheckMidi(bytes);
  } catch (const qv::VbError& e) {
    if (e.number() != qv::kErrInvalidFileFormat) std::abort();
  }
  return 0;
}
