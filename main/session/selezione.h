// The main program's selection criteria of the current session.
#pragma once

#include "common/data/selezione.h"

extern ModuloSelezione Selezione;

// The criteria of the current session into Selezione: the file <stem>.sel when it exists, else the defaults.
// Nothing happens while no session is open (result Mancante). A file that cannot be used is reported.
EsitoSelezione LeggiSelezione();
