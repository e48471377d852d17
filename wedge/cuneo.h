// The rock wedge that two discontinuity planes cut out of a slope: whether it forms, the planes it keeps contact
// with while it slides, its factor of safety and its volume. The wedge is bounded by the two planes, the slope
// face, the upper slope surface and, optionally, a tension crack; it carries its weight, water pressure, an anchor
// force, an external load and, in the extended solution, a seismic force proportional to its weight.
//
// Frame: x east, y north, z up. A plane with dip ψ and dip direction α has the upward normal
// (sin ψ sin α, sin ψ cos α, cos ψ); a force with plunge p (positive downwards) and trend t has the direction
// (cos p sin t, cos p cos t, -sin p).
#pragma once

#include <QString>

#include <array>

// The arguments of CalcolaCuneo and CalcolaCuneoEsteso, in their fixed order. Planes 1 and 2 are given in the
// stored orientation form (π/2 minus the dip, π/2 minus the dip direction, radians); every other angle is in
// degrees. The routines write FattoreSicurezza, VolumeCuneo and ModoScivolamento, and give the four plane angles
// back reduced into [0, 2π).
struct ArgomentiCuneo {
  double ComplInclinazione1 = 0;
  double ComplImmersione1 = 0;
  double ComplInclinazione2 = 0;
  double ComplImmersione2 = 0;
  double InclinazioneSuperiore = 0;
  double ImmersioneSuperiore = 0;
  double InclinazioneFronte = 0;
  double ImmersioneFronte = 0;
  double InclinazioneFrattura = 0;
  double ImmersioneFrattura = 0;
  double AltezzaFronte = 0;
  double PesoRoccia = 0;
  double Coesione1 = 0;
  double Attrito1 = 0;
  double Coesione2 = 0;
  double Attrito2 = 0;
  double PesoAcqua = 0;
  double FattoreSicurezza = 0;  // out: -1 when no admissible wedge is formed
  double VolumeCuneo = 0;       // out: m³
  double CaricoEsterno = 0;
  double InclinazioneCarico = 0;
  double DirezioneCarico = 0;
  double ForzaAncoraggio = 0;
  double InclinazioneAncoraggio = 0;
  double DirezioneAncoraggio = 0;
  QString ModoScivolamento;     // out: "00", "10", "01" or "11"
};

using Vettore3 = std::array<double, 3>;

// The orientations of the families come from the clustering result in single precision (seven significant digits),
// which leaves up to about a millionth of a radian in an angle and in the components of a unit vector: two of them
// that differ by less than kTolleranzaOrientazioni are one. That is 0.0006° of angle, far finer than any measured
// orientation.
inline constexpr double kTolleranzaOrientazioni = 1e-5;

// State of the wedge solution for a whole run.
struct ModuloCuneo {
  double DistanzaFrattura = 0;     // distance of the tension crack from the crest along plane 1; > 0 selects it
  double CoefficienteSismico = 0;  // seismic coefficient of the extended solution
  Vettore3 DirezioneSismica{0, 0, -1};  // direction, then full vector, of the last seismic force applied
};
extern ModuloCuneo Cuneo;

// The direction every seismic computation starts from: straight down.
inline constexpr Vettore3 kDirezioneSismicaIniziale{0, 0, -1};

// The solution without seismic force.
void CalcolaCuneo(ArgomentiCuneo& a);
// The solution with the seismic force CoefficienteSismico × weight in its most unfavourable direction.
void CalcolaCuneoEsteso(ArgomentiCuneo& a);

// Plunge (positive upwards) and trend (counter-clockwise from east, 0 to 2π) of a vector, in radians, as
// AngoliDiVettore gives them: a vertical vector gets the plunge ±π/2 and the trend 3π/2. False, and nothing written,
// for the zero vector or a vector that is not finite.
bool VersoreInDirezione(double x, double y, double z, double& inclinazione, double& direzione);
// The unit vector of a plunge and trend in the convention of VersoreInDirezione (VersoreDiAngoli).
void DirezioneInVersore(double& x, double& y, double& z, double inclinazione, double direzione);
void DirezioneInVersore2(double& x, double& y, double& z, double inclinazione, double direzione);
