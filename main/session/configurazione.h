// The main program's configuration of the survey sheets, read at start-up for the current language.
#pragma once

#include "common/data/configurazione.h"

extern ModuloConfigurazione Configurazione;

// Reads frattixint.cfg of the program folder for the current language into Configurazione; a file that cannot be
// used is reported in a message and leaves the configuration empty (Letta false).
void LeggiConfigurazione();
