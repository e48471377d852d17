#include "cluster/geometria.h"

void VersoreInAngoliD(double x, double y, double z, double& inclinazione, double& direzione) {
  if (std::sqrt(x * x + y * y) == 0) {
    inclinazione = PiGreco() / 2;
    direzione = 0;
    return;
  }
  AngoliDiVettore(x, y, z, inclinazione, direzione);
}

void VersoreInGiacituraD(double x, double y, double z, double& inclinazione, double& direzione) {
  AngoliDiVettore(x, y, z, inclinazione, direzione);
}

double AngoloTraDirezioni(double inclinazione1, double direzione1, double inclinazione2, double direzione2) {
  double x1, y1, z1, x2, y2, z2;
  AngoliInVersore(x1, y1, z1, inclinazione1, direzione1);
  AngoliInVersore(x2, y2, z2, inclinazione2, direzione2);
  return AngoloTraVersori(x1, y1, z1, x2, y2, z2);
}

double AngoloTraVersori(double x1, double y1, double z1, double x2, double y2, double z2) {
  const double c = std::fabs(x1 * x2 + y1 * y2 + z1 * z2);
  const double s2 = 1 - c * c;
  const double s = s2 <= 0 ? 0.0 : std::sqrt(s2);
  if (c != 0) return std::atan(s / c);
  return 2 * std::atan(1.0);
}

void GiacituraInPolo(double immersione, double inclinazione, double& inclinazionePolo, double& direzionePolo) {
  const double pi = PiGreco();
  inclinazionePolo = pi / 2 - inclinazione * pi / 180;
  direzionePolo = pi / 2 - immersione * pi / 180;
  if (direzionePolo < 0) direzionePolo += 2 * pi;
}

void PoloInGiacitura(double inclinazionePolo, double direzionePolo, double& immersione, double& inclinazione) {
  const double gradi = 45.0 / std::atan(1.0);
  inclinazione = 90 - inclinazionePolo * gradi;
  immersione = std::fmod(90 - direzionePolo * gradi + 360, 360.0);
  if (immersione < 0) immersione += 360;
}
