#pragma once

namespace bw {

inline constexpr const char* kProductName = "Brinewave3";
inline constexpr const char* kProductVersion = "3.0.0";
inline constexpr const char* kMakerWebAddress = "www.orvanta.example";

}  // namespace bw
