#include "rosediagram/diagramma.h"

#include "common/plot/grafico.h"
#include "common/texts/testi.h"
#include "rosediagram/mirvane.h"

#include <cmath>
#include <numbers>

namespace {

// The page of the diagram, in centimetres.
constexpr double kCentroX = 10;
constexpr double kCentroY = 14;
constexpr double kRaggio = 8;
constexpr double kLarghezzaSettore = 2 * std::numbers::pi / NumeroSettori;

// The subtitle of the page's title block.
constexpr double kAltezzaSottotitolo = 0.4;

// Pens of the pen table.
constexpr int kPennaTitoli = 1;
constexpr int kPennaCerchio = 2;
constexpr int kPennaSettori = 9;

constexpr int kSposta = 3;
constexpr int kTraccia = 2;
constexpr int kFine = 999;

constexpr int kDaSinistra = 0;

void UsaPenna(int numero) { SelezionaPennaTabella(numero); }

void Titoli() {
  UsaPenna(kPennaTitoli);
  // The session's own lines, as the user wrote them (empty ones too).
  DisegnaTitoliPagina(Traduci(QStringLiteral("diagramma stellare")), kAltezzaSottotitolo, Mirvane.TitoliDiagramma);
}

// The compass: the circle from north clockwise, the labels N, E, S, W and a tick inside the circle at each.
void Bussola() {
  UsaPenna(kPennaCerchio);
  Traccia(kCentroX, kCentroY + kRaggio, kSposta);
  for (int i = 0; i <= 200; ++i) {
    const double a = i * std::numbers::pi / 100;
    Traccia(kCentroX + kRaggio * std::sin(a), kCentroY + kRaggio * std::cos(a), kTraccia);
  }
  constexpr double h = 0.2;
  DisegnaSimbolo(kCentroX - h / 2, kCentroY + kRaggio + h / 2, h, QStringLiteral("N"), 0, kDaSinistra);
  DisegnaSimbolo(kCentroX + kRaggio + h / 2, kCentroY - h / 2, h, QStringLiteral("E"), 0, kDaSinistra);
  DisegnaSimbolo(kCentroX - h / 2, kCentroY - kRaggio - 3 * h / 2, h, QStringLiteral("S"), 0, kDaSinistra);
  DisegnaSimbolo(kCentroX - kRaggio - 3 * h / 2, kCentroY - h / 2, h, QStringLiteral("W"), 0, kDaSinistra);
  Traccia(kCentroX, kCentroY + kRaggio - h, kSposta);
  Traccia(kCentroX, kCentroY + kRaggio, kTraccia);
  Traccia(kCentroX + kRaggio - h, kCentroY, kSposta);
  Traccia(kCentroX + kRaggio, kCentroY, kTraccia);
  Traccia(kCentroX, kCentroY - kRaggio + h, kSposta);
  Traccia(kCentroX, kCentroY - kRaggio, kTraccia);
  Traccia(kCentroX - kRaggio + h, kCentroY, kSposta);
  Traccia(kCentroX - kRaggio, kCentroY, kTraccia);
}

// Sector k as a circular sector of radius r: out from the centre, along the arc in 10 steps, back to the centre.
void Settore(int k, double r) {
  const double inizio = (k - 1) * kLarghezzaSettore;
  Traccia(kCentroX, kCentroY, kSposta);
  Traccia(kCentroX + r * std::cos(inizio), kCentroY + r * std::sin(inizio), kTraccia);
  for (int i = 0; i <= 10; ++i) {
    const double p = inizio + i * kLarghezzaSettore / 10;
    Traccia(kCentroX + r * std::cos(p), kCentroY + r * std::sin(p), kTraccia);
  }
  Traccia(kCentroX, kCentroY, kTraccia);
}

}  // namespace

int SettoreDirezione(double immersione) {
  // The mathematical angle of the direction, in degrees, on [0, 360).
  double t = std::fmod(90.0 - immersione, 360.0);
  if (t < 0) t += 360.0;
  if (!(t >= 0 && t < 360.0)) t = 0;  // a rounding onto 360 (or a value that is no number) is the start again
  const int settore = static_cast<int>(std::floor(t / 10.0)) + 1;
  return std::clamp(settore, 1, NumeroSettori);
}

std::array<int, NumeroSettori + 1> ContaSettori(const std::vector<double>& immersioni) {
  std::array<int, NumeroSettori + 1> conteggi{};
  for (double d : immersioni) ++conteggi[SettoreDirezione(d)];
  return conteggi;
}

void DisegnaDiagramma() {
  Titoli();
  Bussola();

  UsaPenna(kPennaSettori);
  const std::array<int, NumeroSettori + 1> conteggi = ContaSettori(Mirvane.AngoliImmersione);
  int massimo = 0;
  for (int k = 1; k <= NumeroSettori; ++k) massimo = std::max(massimo, conteggi[k]);
  for (int k = 1; k <= NumeroSettori; ++k) {
    // Without any orientation every sector has radius 0 (no division by an empty largest count).
    const double r = massimo > 0 ? conteggi[k] * kRaggio / massimo : 0.0;
    Settore(k, r);
  }
  Traccia(0, 0, kFine);
}
