// The wedge stability program: reads the hand-over file, the slope file, the clustering result and the family
// parameters of the session, solves the wedge of every pair of families and writes the wedge table <stem>.GMC.
#pragma once

#include "common/data/fronte.h"

#include <QString>

#include <array>
#include <vector>

// Limits of the clustering result as this program reads it.
inline constexpr int kMassimoPunti = 1000;
inline constexpr int kMassimoFamiglie = 1000;

// State of the program for the whole run.
struct ModuloPeldrix {
  QString NomeFileDati;                 // session file name, from the hand-over file
  std::array<double, kValoriFronte + 1> ValoriFronte{};  // the slope file, indexed by IndiceFronte (0 unused)
  int NumeroPunti = 0;
  std::vector<std::array<double, 5>> TabellaPunti;  // point records 1..NumeroPunti, values 1..4 (index 0 unused)
  int NumeroFamiglie = 0;
  std::vector<double> AttritoFamiglia;   // 1..NumeroFamiglie, degrees
  std::vector<double> CoesioneFamiglia;  // 1..NumeroFamiglie
};
extern ModuloPeldrix Peldrix;

// Empties the program state.
void AzzeraPeldrix();

// The stem of a session file name (StemSessione); empty when the name has no "." or nothing before it.
QString RadiceNome(const QString& nome);

// Reading the input files. Each returns false with a translated message naming the file in `errore`.
bool LeggiPassaggio(QString* errore);         // temporan in the program folder: NomeFileDati
bool LeggiFronte(QString* errore);            // <stem>.fro: ValoriFronte (values 10 to 19 optional), each
                                              // within the slope form's range
bool LeggiRisultatoCluster(QString* errore);  // <stem>.dat: point table and family count
// Friction angle and cohesion of every family: the slope file's, replaced by those of <stem>.pgm when it exists
// (an item that cannot be read leaves the family as it was); a family with both 0 gets the slope file's again.
// False, with the message in `errore` (optional), when <stem>.pgm holds a value beyond its limits.
bool LeggiParametriFamiglie(QString* errore = nullptr);

// Dip direction in degrees of a plane in the stored orientation form, brought into [0, 360].
double ImmersioneGradi(double complImmersione);
// Dip in degrees of a plane in the stored orientation form.
double InclinazioneGradi(double complInclinazione);
// An angle of the wedge table: rounded to a whole number (halves up) and written with one decimal.
QString TestoAngolo(double gradi);

// Solves every pair of families and writes <stem>.GMC whole; false with a message when it cannot be written
// (an existing table then stays as it was).
bool ScriviFattoriSicurezza(QString* errore);

// The whole program after the start-up: 0 when the table is written, else the message is shown and 1 returned.
int EseguiPeldrix();
