// Orientations of discontinuity planes: unit vectors and pairs of angles (inclination, direction) in radians, in a
// frame with x east, y north, z up. Direction is measured from east towards north; inclination is positive
// upwards. A plane is held as the orientation of its upward normal.
#pragma once

#include "common/geometria/orientamento.h"

#include <cmath>

// 4 atan(1), in double precision, as every angle of the program uses.
inline double PiGreco() { return 4.0 * std::atan(1.0); }

// The unit vector of an orientation (VersoreDiAngoli), in the callers' types.
template <typename X, typename Y, typename Z, typename I, typename D>
void AngoliInVersore(X& x, Y& y, Z& z, const I& inclinazione, const D& direzione) {
  double vx = 0, vy = 0, vz = 0;
  VersoreDiAngoli(vx, vy, vz, static_cast<double>(inclinazione), static_cast<double>(direzione));
  x = static_cast<X>(vx);
  y = static_cast<Y>(vy);
  z = static_cast<Z>(vz);
}

// The orientation of a vector (any length) as AngoliDiVettore gives it, except that a vertical or zero vector gives
// inclination π/2 and direction 0.
void VersoreInAngoliD(double x, double y, double z, double& inclinazione, double& direzione);
// The orientation of a vector (any length) as AngoliDiVettore gives it: a vertical vector gives ±π/2 by the sign of
// z and direction 3π/2.
void VersoreInGiacituraD(double x, double y, double z, double& inclinazione, double& direzione);

template <typename X, typename Y, typename Z, typename I, typename D>
void VersoreInAngoli(const X& x, const Y& y, const Z& z, I& inclinazione, D& direzione) {
  double i = 0, d = 0;
  VersoreInAngoliD(static_cast<double>(x), static_cast<double>(y), static_cast<double>(z), i, d);
  inclinazione = static_cast<I>(i);
  direzione = static_cast<D>(d);
}

template <typename X, typename Y, typename Z, typename I, typename D>
void VersoreInGiacitura(const X& x, const Y& y, const Z& z, I& inclinazione, D& direzione) {
  double i = 0, d = 0;
  VersoreInGiacituraD(static_cast<double>(x), static_cast<double>(y), static_cast<double>(z), i, d);
  inclinazione = static_cast<I>(i);
  direzione = static_cast<D>(d);
}

// The angle between the lines of two orientations, 0 to π/2.
double AngoloTraDirezioni(double inclinazione1, double direzione1, double inclinazione2, double direzione2);
// The same from the two unit vectors (as AngoliInVersore gives them).
double AngoloTraVersori(double x1, double y1, double z1, double x2, double y2, double z2);

// Stored form of a plane given by dip direction and dip in degrees: the orientation of its upward normal.
void GiacituraInPolo(double immersione, double inclinazione, double& inclinazionePolo, double& direzionePolo);
// Back to degrees: dip = 90 - inclination, dip direction = 90 - direction reduced into 0..360.
void PoloInGiacitura(double inclinazionePolo, double direzionePolo, double& immersione, double& inclinazione);
