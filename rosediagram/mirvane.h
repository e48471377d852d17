// The star diagram program: reads the hand-over file, loads the selected discontinuities of the listed survey
// sheets, reduces them to their distinct orientations, writes the hand-over file back and shows the rose diagram
// of their dip directions in the preview window until the user closes it.
#pragma once

#include <QString>

#include <array>
#include <vector>

// State of the program for the whole run.
struct ModuloMirvane {
  int LimiteDiscontinuita = 1000;         // selected records that can be loaded
  QString NomeFileDati;                   // the session file name, last item of the hand-over file
  // The distinct orientations (dip and dip direction) of the selected records, in degrees as on the sheets, in
  // the order of their first appearance: a hundred records of one orientation are one entry.
  std::vector<double> AngoliImmersione;
  std::vector<double> AngoliInclinazione;
  std::array<QString, 10> TitoliDiagramma;  // title lines 1 to 9 of the session (entry 0 unused)
};
extern ModuloMirvane Mirvane;
