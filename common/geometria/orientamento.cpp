#include "common/geometria/orientamento.h"

namespace {
const double kPi = 4.0 * std::atan(1.0);
}  // namespace

double DirezioneOrizzontale(double x, double y) {
  double d;
  if (x != 0) {
    d = std::atan(y / x);  // a number, at worst ±infinity, for every finite x that is not 0
    if (x < 0) d += kPi;
  } else {
    d = y > 0 ? kPi / 2 : 3 * kPi / 2;
  }
  while (d < 0) d += 2 * kPi;
  while (d > 2 * kPi) d -= 2 * kPi;
  return d;
}

void AngoliDiVettore(double x, double y, double z, double& inclinazione, double& direzione) {
  const double orizzontale = std::sqrt(x * x + y * y);
  direzione = DirezioneOrizzontale(x, y);
  if (orizzontale != 0) inclinazione = std::atan(z / orizzontale);
  else inclinazione = z >= 0 ? kPi / 2 : -kPi / 2;
}
