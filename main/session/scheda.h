// The main program's in-memory copy of the current survey sheet.
#pragma once

#include "common/data/scheda.h"

extern ModuloScheda Scheda;

// Empties the sheet in memory: header lines 1 to 9 "", every record 52 blanks, no records in use.
void AzzeraScheda();

// Reads the sheet named by FileScheda (at most 500 non-blank records). The in-memory sheet is emptied first, so
// nothing of an earlier sheet remains. On a failure the sheet in memory is left empty. `linee` (optional) receives
// the line of the file that holds each record, `riga` (optional) the line of a damage that LeggiFileScheda tells.
EsitoScheda LeggiScheda(std::vector<int>* linee = nullptr, int* riga = nullptr);
// Shows the message of a failed LeggiScheda (nothing for Letta), with the line of its damage when above 0.
void SegnalaEsitoScheda(EsitoScheda esito, int riga = 0);

// Writes the sheet to FileScheda, replacing the file as a whole. False (the old file untouched) when it cannot be
// written.
bool SalvaScheda();
