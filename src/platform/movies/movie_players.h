#pragma once
// The two movie players (see platform/movie.h).
//
// The decoding player, for runs with a window: each movie is decoded by FFmpeg on a
// thread of its own, a few pictures and about a second of sound ahead of what is shown;
// the sound goes to the sound output's movie stream, beside the 20 channels and the
// music, and the pictures follow the sound as it is heard (the clock, for a silent movie
// or once its sound has ended). Pictures that come late are passed over, so a slow
// machine shows fewer pictures rather than drifting from the sound. The event loop's
// thread only takes the pictures that are due.
//
// The timed player, for headless runs: the file is opened and checked as the decoding
// player does it, then read to its end without decoding to learn how long it really is
// (a file cut short lasts as long as what is there); the movie then lasts that long on
// the virtual clock and shows no pictures.

#include <memory>

#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/memory_budget.h"
#include "platform/movie.h"
#include "platform/movies/movie_decoder.h"

namespace qv::platform {

// Everything given must outlive the player and its movies.
std::unique_ptr<MoviePlayer> MakeDecodingPlayer(AudioDevice& audio, const Clock& clock,
                                                MemoryBudget& budget, MovieLimits limits = {});
std::unique_ptr<MoviePlayer> MakeTimedPlayer(const Clock& clock, MemoryBudget& budget,
                                             MovieLimits limits = {});

}  // namespace qv::platform
