#pragma once
// Reading files named by game data. Only ordinary files are read: a FIFO would block the
// player for ever and a device file never ends, so both are refused as if the file were
// missing, for every kind of media alike.

#include <cstdint>
#include <filesystem>
#include <vector>

namespace qv::platform {

// VbError 53 unless `file` is an existing ordinary file (after following links).
void CheckOrdinaryFile(const std::filesystem::path& file);

// The whole file: VbError 53 as CheckOrdinaryFile, `too_big_error` when it is larger
// than `max_bytes`, 75 when it cannot be read.
std::vector<uint8_t> ReadOrdinaryFile(const std::filesystem::path& file, uintmax_t max_bytes,
                                      int too_big_error);

}  // namespace qv::platform
