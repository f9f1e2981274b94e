#pragma once
// Media files an editor, a broken download or a hostile author can produce, made by the
// tests (small on disk, expensive to decode) for the checks that the player refuses
// them within its budgets and goes on.

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace qv::testing {

using NamedFile = std::pair<std::string, std::vector<uint8_t>>;

// The MIDI files FluidSynth refuses or would play again without end: every seed of the
// MIDI fuzz corpus but the one good note, by name.
std::vector<NamedFile> RefusedMidis();

// A GIF of `frames` frames, each a solid `width` x `height` rectangle at (left, top) on a
// canvas of canvas_w x canvas_h: the frame is compressed once and repeated, so even
// thousands of huge frames are made at once.
std::vector<uint8_t> RepeatedFrameGif(int canvas_w, int canvas_h, int left, int top, int width,
                                      int height, int frames);

// An 8-bit mono WAV at 11025 Hz of about `bytes` bytes of samples: 16 times larger once
// decoded to 16-bit stereo at 44100 Hz.
std::vector<uint8_t> LowRateWav(size_t bytes);

// The hostile-media game: the files above, FIFOs and links out of the folder, in scenes a
// script walks through (see the .cpp). `outside` is a folder beside the game.
void WriteHostileGame(const std::filesystem::path& game, const std::filesystem::path& outside);

// The walkthrough script of the hostile game, with one box it expects in each scene.
std::string HostileGameScript();

}  // namespace qv::testing
