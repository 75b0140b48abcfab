#pragma once

namespace bw {

inline constexpr const char* kProductName = "Brinewave3";
// The build's version, from the CMake project: shown by --version, the About box and the package.
extern const char* const kProductVersion;
inline constexpr const char* kMakerWebAddress = "www.orvanta.example";

}  // namespace bw
