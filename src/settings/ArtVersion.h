#pragma once

namespace bw::art {

// Names the art the generator paints. Raise it with every change that alters a picture at any
// scale: sets painted earlier and kept in the cache are told apart by it. The saver reads it
// here without running the generator; the generator tests hold hashes of the 1x pictures and
// the version they belong to.
inline constexpr int kArtVersion = 1;

}  // namespace bw::art
