// The family parameters <stem>.pgm: two lines per family, for families 1 to F in order: the friction angle (°),
// then the cohesion (the slope file's unit: tenths of kN/m²). F is the family count of the clustering result.
#pragma once

#include <QString>

#include <vector>

struct ParametriFamiglie {
  std::vector<double> Attrito;   // entries 1..F (0 unused)
  std::vector<double> Coesione;  // entries 1..F
  int Famiglie() const { return Attrito.empty() ? 0 : static_cast<int>(Attrito.size()) - 1; }
};

// F families, each with the slope file's friction angle and cohesion.
ParametriFamiglie ParametriPredefiniti(int famiglie, double attrito, double coesione);

enum class EsitoParametri { Letti, Mancante, NonValidi };
// Reads the file over `p` for the families p already holds: each pair of values replaces the one in `p`, and a
// file that ends (blank lines at most) before a family's friction angle leaves that family and the later ones as
// they were. NonValidi (p unchanged, the line in `riga`) when a line where a value stands is not one number
// ("molto", "65,5"), the file ends after a friction angle without its cohesion, a number lies beyond the slope
// file's range for the same value (ValoreFronteAmmesso): a friction angle outside 0 to 89 degrees, a cohesion
// outside 0 to 10000, and (the line 0 for the whole file) when what stands at the name cannot be read (see
// SeqReader::Open). Mancante (p unchanged)
// when nothing stands at the name.
EsitoParametri LeggiFileParametriFamiglie(const QString& percorso, ParametriFamiglie& p, int* riga = nullptr);

// Every family whose friction angle and cohesion are both 0 gets the slope file's values.
void CompletaParametriFamiglie(ParametriFamiglie& p, double attrito, double coesione);

// Writes the file anew: for every family its friction angle and its cohesion, one per line, in the plain number
// form (NumeroTesto). False (the old file untouched) when it cannot be written or a value is not finite.
bool ScriviFileParametriFamiglie(const QString& percorso, const ParametriFamiglie& p);
