// The sector counts of a rose diagram worked out independently of the program: a dip direction d lies in sector
// k when it is one of the directions above 90 - 10k up to 100 - 10k degrees, taken on the circle.
#pragma once

#include <array>
#include <cmath>
#include <vector>

namespace rosa_test {

inline std::array<int, 37> ConteggioIndipendente(const std::vector<double>& direzioni) {
  std::array<int, 37> n{};
  for (double d : direzioni)
    for (int k = 1; k <= 36; ++k) {
      const double scarto = std::fmod(100.0 - 10.0 * k - d + 3600.0, 360.0);
      if (scarto >= 0 && scarto < 10) ++n[k];
    }
  return n;
}

}  // namespace rosa_test
