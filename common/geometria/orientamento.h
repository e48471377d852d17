// Orientations as vectors and as angles in radians, in a frame with x east, y north, z up: the direction of a
// vector is that of its horizontal projection, measured from east towards north; its inclination is its angle with
// the horizontal, positive upwards. A plane is held as the orientation of its upward normal.
#pragma once

#include <cmath>

// The direction of the horizontal projection (x, y), 0 to 2π both included; 3π/2 when x and y are both 0.
double DirezioneOrizzontale(double x, double y);

// Inclination and direction of a vector of any length. A vertical vector gets the inclination ±π/2 by the sign of
// z (π/2 for the zero vector) and the direction 3π/2. A component that is not a number gives angles that are not
// numbers.
void AngoliDiVettore(double x, double y, double z, double& inclinazione, double& direzione);

// The unit vector of an inclination and a direction.
inline void VersoreDiAngoli(double& x, double& y, double& z, double inclinazione, double direzione) {
  const double c = std::cos(inclinazione);
  x = std::cos(direzione) * c;
  y = std::sin(direzione) * c;
  z = std::sin(inclinazione);
}
