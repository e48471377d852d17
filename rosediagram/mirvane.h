// The star diagram program: reads the hand-over file, loads the selected discontinuities of the listed survey
// sheets, reduces them to their distinct orientations, writes the hand-over file back and shows the rose diagram
// of their dip directions in the preview window until the user closes it.
#pragma once

#include "common/data/passaggio.h"
#include "common/data/titoli.h"

#include <QString>

#include <vector>

// State of the program for the whole run.
struct ModuloMirvane {
  int LimiteDiscontinuita = 1000;  // selected records that can be loaded; also the sheets the hand-over file lists
  FilePassaggioDati Passaggio;     // the items of the hand-over file, the index 0 already taken as 1
  QString NomeFileDati;            // the session file name, last item of the hand-over file
  // The distinct orientations (dip and dip direction) of the selected records, in degrees as on the sheets, in
  // the order of their first appearance: a hundred records of one orientation are one entry.
  std::vector<double> AngoliImmersione;
  std::vector<double> AngoliInclinazione;
  TitoliSessione TitoliDiagramma;  // title lines 1 to 9 of the session, empty when it has none
};
extern ModuloMirvane Mirvane;

// Sets the module number of the program (3).
void ImpostaNumeroModulo();

// Reads temporan in the program folder into Passaggio and NomeFileDati; a selected-sheet index of 0 becomes 1.
// False with a translated message naming the file in `errore`.
bool LeggiPassaggioMirvane(QString* errore);

enum class EsitoCaricamento {
  Caricato,
  NessunaSelezione,  // no record of the listed sheets passes the criteria
  OltreIlLimite,     // more selected records than LimiteDiscontinuita
  Errore,            // a file is missing or damaged
};
// Loads the distinct orientations of the records of the listed sheets that the session's criteria (<stem>.sel,
// or every record within the analysis defaults when there is none) select, with the configuration of the current
// language, and the session's titles (<stem>.tit). `errore` gets the message to show for every outcome but
// Caricato.
EsitoCaricamento CaricaDiscontinuita(QString* errore);

// Writes temporan anew with the items read, in the form the main program writes it. False with a message.
bool RiscriviPassaggio(QString* errore);

// Draws the diagram in the preview window and waits until the user closes it.
void MostraGrafico();

// The program after its start-up: 0 when the diagram was shown (or nothing was selected), 1 after a fault.
int EseguiMirvane();
