// The editing commands of the session's slope file, titles and graphics options: each reads its file, fills a
// field form of the dialog engine, shows it and, when the user confirms, writes the file anew.
#pragma once

struct ModuloFronte {
  double CoefficienteSismico = 0;  // value 19 of the slope file, as last read or confirmed
};
extern ModuloFronte Fronte;

// Edits the graphics options <stem>.GRA of the current session before a plot. `tipo` 1: the cluster plot
// (definition 2), any other value: the projection of the initial data (definition 7); the kind is written as
// option 3. Afterwards MascheraCorrente.AnnullaMaschera is 0 when the user confirmed and the file was written,
// non-zero otherwise (cancelled, or a file that could not be read or written: reported in a message).
void EditaOpzioniGrafiche(int tipo);
