// Reading numbers from the suite's sequential files: the small checks every reader of common/data shares.
#pragma once

#include "common/platform/textio.h"

#include <QString>

namespace dati {

// A finite number item; false at the end of the file or when the item is not a number.
bool LeggiNumero(plat::SeqReader& r, double& valore);
// A whole number item from 0 to `massimo`. `oltre` (optional) is set when it is a whole number above `massimo`.
bool LeggiConteggio(plat::SeqReader& r, double massimo, int& conteggio, bool* oltre = nullptr);
// A whole line holding one finite number, blanks around it ignored.
bool NumeroDaRiga(const QString& riga, double& valore);
// True when nothing but blank lines is left in the file.
bool FineSostanziale(const plat::SeqReader& r);

}  // namespace dati
