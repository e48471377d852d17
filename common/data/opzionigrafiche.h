// The graphics options <stem>.GRA: six values, one per line: 1 projection (2 equal-angle, else equal-area),
// 2 orientation sign (1 gives the factor -1), 3 kind of plot (1 the saved clustering result, 2 the poles of the
// sheets), 4 great circles drawn when 1, 5 slope face and friction circle drawn when 1, 6 cluster numbers and
// wedges drawn when 1. Defaults 1, 1, 1, 1, 1, 2; a file of five values means option 6 is 2.
#pragma once

#include <QString>

#include <array>

struct OpzioniGrafiche {
  std::array<double, 7> Opzione{0, 1, 1, 1, 1, 1, 2};  // entries 1..6 (0 unused); the defaults

  // What the plot makes of each value: only the value named turns a choice on, any other leaves it off.
  bool Equiangolare() const { return Opzione[1] == 2; }       // 1: the equal-angle net, else the equal-area one
  bool EmisferoInferiore() const { return Opzione[2] == 1; }  // 2: orientation factor -1, else +1
  bool GraficoCluster() const { return Opzione[3] == 1; }     // 3: the saved clustering result, else the poles
  bool GraficoPoli() const { return Opzione[3] == 2; }        // 3: the poles of the sheets (their great circles)
  bool CerchiMassimi() const { return Opzione[4] == 1; }      // 4: the great circles
  bool FronteEAttrito() const { return Opzione[5] == 1; }     // 5: the slope face and the friction circle
  bool NumeriECunei() const { return Opzione[6] == 1; }       // 6: the cluster numbers and the wedges
};

enum class EsitoOpzioni { Letto, Mancante, NonValido };
// Reads the options into `o`: values 1 to 5, then value 6 when the file holds more than blank lines (else 2).
// Mancante (the defaults in `o`) when nothing stands at the name; NonValido (the defaults in `o`, the line in
// `riga`, 0 for the whole file) when what stands there cannot be read (see SeqReader::Open), one of the first
// five values is missing, a line holds anything but one number, or more than blank lines follow the sixth value.
EsitoOpzioni LeggiFileOpzioniGrafiche(const QString& percorso, OpzioniGrafiche& o, int* riga = nullptr);
// Writes the six values in print form (" 1 "), one per line. False (the old file untouched) when it cannot be
// written.
bool ScriviFileOpzioniGrafiche(const QString& percorso, const OpzioniGrafiche& o);
// Creates the file with the defaults when nothing stands at the name; whatever stands there is left alone. False
// when it was missing and could not be written.
bool CreaOpzioniGrafichePredefinite(const QString& percorso);
