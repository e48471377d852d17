// TALVOR, the cluster analysis program: its module state (hand-over data, graphics options, slope values, the
// clustering points loaded from the survey sheets, the families of the clustering) and its entry procedure Main
// with its three modes. Every array below is indexed from 1, as the result files count.
#pragma once

#include "common/data/configurazione.h"
#include "common/data/fronte.h"
#include "common/data/opzionigrafiche.h"
#include "common/data/selezione.h"
#include "common/data/titoli.h"

#include <QString>

#include <array>
#include <vector>

inline constexpr int kMassimoPoli = 300;       // clustering points (distinct orientations) and clusters
inline constexpr int kMassimoRecordPoli = 1000;  // accepted discontinuity records of one run
inline constexpr int kMassimoSchedeTalvor = 300;  // survey sheets of one run

using VettorePoli = std::array<double, kMassimoPoli + 1>;  // entries 1..300

struct ModuloTalvor {
  // Hand-over (temporan) and session.
  QString PercorsoProgramma;  // the program folder
  int Modo = 0;               // ModoCluster, ModoStabilita or ModoGrafico (common/data/passaggio.h)
  int NumeroSchede = 0;
  std::vector<QString> ElencoSchede = std::vector<QString>(kMassimoSchedeTalvor + 1);  // 1..NumeroSchede
  QString NomeFileDati;  // the session file name; its stem names the session's files

  OpzioniGrafiche Grafica;  // <stem>.GRA, Opzione[1..6]; the defaults when the file is missing
  std::array<double, 4> FinestraPagina{0, 0, 19.4, 27.7};  // the plot page in cm: xmin, ymin, xmax, ymax
  bool AttesaFinale = false;  // true once the final wait for the preview window has begun

  std::array<double, kValoriFronte + 1> ValoriFronte{};  // <stem>.fro, values 1..9 used here

  // Clustering points (CaricaPoli; LeggiRisultati fills the orientations).
  int NumeroPoli = 0;
  VettorePoli InclinazionePoli{};  // pi/2 - dip, radians
  VettorePoli DirezionePoli{};     // pi/2 - dip direction, radians, 0..2 pi
  VettorePoli AperturaPoli{};      // weighted mean aperture (field Ap as written)
  VettorePoli PesoPoli{};          // discontinuities merged into the point (at least 1 each)
  int NumeroSchedeCaricate = 0;
  VettorePoli DirezioneStendimento{};     // per sheet: pi/2 - direction of the measuring line, radians
  VettorePoli InclinazioneStendimento{};  // per sheet: - inclination of the measuring line, radians
  VettorePoli LunghezzaStendimento{};     // per sheet: length of the measuring line, m
  TitoliSessione TitoliGrafico;           // titles 1..9

  // Families of the clustering (the clustering fills them; SalvaRisultati / LeggiRisultati write and read them).
  int NumeroCluster = 0;
  VettorePoli InclinazioneCentri{};
  VettorePoli DirezioneCentri{};
  double DistanzaMassima = 0;  // radians
  std::array<int, kMassimoPoli + 1> NumeroMembri{};
  // [cluster 1..300][position 1..300]: index of the member point.
  std::vector<std::array<int, kMassimoPoli + 1>> MembriCluster =
      std::vector<std::array<int, kMassimoPoli + 1>>(kMassimoPoli + 1);
  VettorePoli PesoFamiglie{};       // total weight of each family
  VettorePoli AperturaFamiglie{};   // weighted mean aperture of each family, mm
  VettorePoli FrequenzaFamiglie{};  // frequency of each family, 1/m

  // Conductivity tensor of the families (m/s, frame x east, y north, z up) and its principal values and
  // directions, all indexed from 1; row i of DirezioniPrincipali is the direction of principal value i.
  std::array<std::array<double, 4>, 4> TensoreConducibilita{};
  std::array<double, 4> ValoriPrincipali{};
  std::array<std::array<double, 4>, 4> DirezioniPrincipali{};
};
extern ModuloTalvor Talvor;

// Empties the module state.
void AzzeraTalvor();

// A message with one OK button under the title "ATTENZIONE!": the translated text, a blank and a file name.
void AvvisoFileTalvor(const QString& testo, const QString& file);
// The same box for a message already in the current language (FileDanneggiato and the like).
void AvvisoTalvor(const QString& messaggio);

// The whole program after the start-up: reads temporan and runs the mode found there. Returns the exit code
// (0 also when the program ends early by design, with or without a message).
int Main();

// The three modes, after temporan has been read.
int EseguiModoStabilita();
int EseguiModoCluster();
int EseguiModoGrafico();
// The cluster mode after the user's confirmation: result file, conductivity table, family parameters from the
// slope file, family table, PELDRIX.
int ConcludiModoCluster();

// Reads temporan of the program folder into the hand-over globals; false after a message when it is missing,
// damaged, lists more than 300 sheets, or names a session without a stem.
bool LeggiPassaggioTalvor();
// Reads <stem>.GRA into Grafica (the defaults 1, 1, 1, 1, 1, 2 when it is missing). A damaged file keeps the
// defaults too; with `avvisa` it is told with its line, and the result is false.
bool LeggiOpzioniGraficheTalvor(bool avvisa = true);
// Reads <stem>.fro into ValoriFronte; false when the file is missing or damaged.
bool LeggiFronteTalvor();

// Loads the clustering points of the listed sheets: configuration, criteria (<stem>.sel, else every code and
// Ap 0..10000, Imm 0..360, Inc 0..360), the records that pass the selection test, merged by equal dip and dip
// direction into weighted points, and the titles. False (the program must end) after the limit message (more than
// 1000 records or 300 points) or the message that no record was selected, or when the configuration or a sheet
// cannot be read.
bool CaricaPoli();

// Writes <stem>.dat from the points and families; false after a message when it cannot be written.
bool SalvaRisultati();
// Reads <stem>.dat into the points and families, then the titles from <stem>.tit; false after a message when the
// file is damaged or beyond the limits (300 points and clusters).
bool LeggiRisultati();

// The interactive clustering of the loaded points. True when the user confirmed a result in the family globals;
// false when the program must end without a result. Defined by the clustering window's code.
bool EseguiClusterAnalysis();

// Starts a child program of the suite (`eseguibile`, resolved in the program folder) in the current folder and
// waits until it has ended. A child that cannot be started, or that was killed or crashed, is reported by `nome`
// and gives false; otherwise true, whatever its exit code.
bool AvviaFiglioTalvor(const QString& eseguibile, const QString& nome);
// Starts PELDRIX and waits until it has ended (AvviaFiglioTalvor); the run goes on after it in any case.
void AvviaPeldrix();

// Removes the result tables of an earlier run: <table>.FAM, <table>.PER and <stem>.GMC. A table that a save could
// not replace (one the user made read-only) is kept and told; the result is then false.
bool RimuoviTabelleVecchie();
// Removes one result table of an earlier run by the same rule; false after the message when it is kept.
bool RimuoviTabellaVecchia(const QString& file);
// Whether every table of an earlier run can be replaced; each one that cannot is told.
bool TabelleVecchieScrivibili();
