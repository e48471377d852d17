// TALVOR's page of graphics: the equal-area or equal-angle net with the poles (as loaded from the survey sheets or
// as grouped by the saved clustering), the cluster centres, the great circles, the wedges of every pair of
// families with their factor of safety, and the slope face with its friction circle.
#pragma once

#include "common/plot/grafico.h"

#include <QString>

#include <vector>

// The net on the page, in centimetres.
inline constexpr double kCentroReticoloX = 10;
inline constexpr double kCentroReticoloY = 14;
inline constexpr double kRaggioReticolo = 8;

// The factor of every projected offset from the centre: -1 (graphics option 2 equal to 1) draws a pole on the side
// opposite to the dip direction of its plane, +1 on its side. Set by DisegnaStereogramma.
extern double SegnoProiezione;

// The distance from the centre, as a fraction of the radius, of an orientation of inclination `inclinazione`
// (radians): cos i / (1 + sin i) in the equal-angle projection, sqrt(1 - sin i) in the equal-area one.
double RaggioProiettato(double inclinazione, bool equiangolare);
// The page point of an orientation (inclination, direction in radians).
Punto ProiettaOrientazione(double inclinazione, double direzione, bool equiangolare, double segno);

// A wedge of two planes (dip direction and dip in degrees) with its factor of safety.
struct TracciaCuneo {
  double Immersione1 = 0, Inclinazione1 = 0;
  double Immersione2 = 0, Inclinazione2 = 0;
  double FattoreSicurezza = 0;
};
// The wedges of a session: the records of <stem>.tmp when something stands at that name, else the lines of the
// wedge table <stem>.GMC; none when nothing stands at either name. A record of <stem>.tmp is five numbers: the dip
// directions (0 to 360) and dips (0 to 90) of the two planes and the factor of safety (from 0); a record cut short
// by the end of the file is dropped, and blank lines after the last record end it. The table is read by
// LeggiTabellaRisultati. False, with the file and the line in `file` and `riga` (optional, 0 for the file as a
// whole) and no wedge, for a file that cannot be read (see SeqReader::Open), an item of <stem>.tmp that is no
// such number, or a table that LeggiTabellaRisultati refuses.
bool LeggiCunei(const QString& nomeFileDati, std::vector<TracciaCuneo>& cunei, QString* file = nullptr,
                int* riga = nullptr);
// The line of intersection of the wedge's planes, pointing downwards: its plunge (0..pi/2) and the direction
// (0..2 pi) under which the plot projects it.
void LineaIntersezione(const TracciaCuneo& c, double& immersione, double& direzione);
// The pen of a wedge line: 10 below a factor of safety of 1, 11 below 1.3, 12 from 1.3 on.
int PennaCuneo(double fattoreSicurezza);

// Draws the whole plot from TALVOR's state into the plot begun by InizioGrafico, and ends it.
void DisegnaStereogramma();
