// The editing commands of the session's slope file, titles and graphics options: each reads its file, fills a
// field form of the dialog engine, shows it and, when the user confirms, writes the file anew.
#pragma once

struct ModuloFronte {
  double CoefficienteSismico = 0;  // value 19 of the slope file, as last read or confirmed
};
extern ModuloFronte Fronte;
