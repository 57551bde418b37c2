// The strengths a computer player can be given. The script's `cpu` line,
// the window's --cpu-level and its strength box all offer these, and the
// computer player holds a level outside them to the nearest one.
#pragma once

namespace zelkar {

inline constexpr int kMinCpuLevel = 1;
inline constexpr int kMaxCpuLevel = 3;
// The strongest, when none is chosen.
inline constexpr int kDefaultCpuLevel = kMaxCpuLevel;

}  // namespace zelkar
