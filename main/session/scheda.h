// The main program's in-memory copy of the current survey sheet.
#pragma once

#include "common/data/scheda.h"

extern ModuloScheda Scheda;

// Empties the sheet in memory: header lines 1 to 9 "", every record 52 blanks, no records in use.
void AzzeraScheda();

// Reads the sheet named by FileScheda (at most 500 non-blank records). The in-memory sheet is emptied first, so
// nothing of an earlier sheet remains. On a failure the sheet in memory is left empty. `linee` (optional) receives
// the line of the file that holds each record.
EsitoScheda LeggiScheda(std::vector<int>* linee = nullptr);
// Shows the message of a failed LeggiScheda (nothing for Letta).
void SegnalaEsitoScheda(EsitoScheda esito);

// Writes the sheet to FileScheda, replacing the file as a whole. False (the old file untouched) when it cannot be
// written.
bool SalvaScheda();
