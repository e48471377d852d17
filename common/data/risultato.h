// The clustering result <stem>.dat, written by TALVOR and read by TALVOR (replot), PELDRIX and the main
// program's family-parameters command. One value per line: titles 1 to 9 (whole lines); the point count N; for
// each point i four values: inclination and direction of point i, inclination and direction of the centre of
// cluster i (rows above the cluster count K carry no centre that anyone reads); K; the maximum angular distance;
// for each cluster its member count and the indexes (1..N) of its members. Angles in radians, in the stored form
// (inclination = pi/2 - dip, direction = pi/2 - dip direction). Whole numbers in print form (" 25 "), real
// numbers in the short form of single precision (" .5235988", "-.5", " 1.5E-07").
#pragma once

#include "common/data/titoli.h"

#include <QString>

#include <array>
#include <vector>

struct RisultatoCluster {
  TitoliSessione Titoli;
  int NumeroPoli = 0;
  // Entries 1..NumeroPoli; values 1 to 4 (0 unused): point inclination, point direction, centre inclination,
  // centre direction.
  std::vector<std::array<double, 5>> Punti;
  int NumeroCluster = 0;
  double DistanzaMassima = 0;
  // Entries 1..NumeroCluster: the member indexes of each cluster in their order (entry 0 unused).
  std::vector<std::vector<int>> Membri;
};

enum class EsitoRisultato {
  Letto,
  Mancante,       // nothing stands at the name
  TroppiPunti,    // N above the reader's limit
  TroppiCluster,  // K above the reader's limit
  NonValido,      // what stands at the name cannot be read (see SeqReader::Open: `riga` 0 for the file as a whole);
                  // short; a line that holds anything but its one value ("1,5", "5 6"); not a number; N below 1; K
                  // below 1 or above N; a centre of clusters 1..K outside 0..pi/2 (inclination) or pi/2 - 2 pi..2 pi
                  // (direction); a distance outside 0..pi/2; a member count above N, an index outside 1..N
                  // or one listed twice (in one cluster or in two);
                  // anything but blank lines after the last member; see `riga`
};
// Reads the whole file into `r` (unchanged unless Letto). `riga` (optional) tells the line of a fault, and of the
// count above the limit.
EsitoRisultato LeggiFileRisultato(const QString& percorso, RisultatoCluster& r, int massimoPunti, int massimoCluster,
                                  int* riga = nullptr);

// Writes the file anew. False (the old file untouched) when it cannot be written, or when the result is not
// consistent (a value not finite, K above N, an index outside 1..N).
bool ScriviFileRisultato(const QString& percorso, const RisultatoCluster& r);

// A real number in the short form of the file: " .5235988", "-.5", " 1.570796".
QString NumeroBreve(double valore);
