// Reading numbers from the suite's sequential files: the small checks every reader of common/data shares.
#pragma once

#include "common/platform/textio.h"

#include <QString>

namespace dati {

// A finite number item; false at the end of the file or when the item is not a number.
bool LeggiNumero(plat::SeqReader& r, double& valore);
// A whole number item from 0 to `massimo`. `oltre` (optional) is set when it is a whole number above `massimo`.
bool LeggiConteggio(plat::SeqReader& r, double massimo, int& conteggio, bool* oltre = nullptr);
// A line of a one-value-per-line file holding one finite number and nothing else ("65,5" or "1 2" is no number).
bool LeggiNumeroRiga(plat::SeqReader& r, double& valore);
// The same for a whole number from 0 to `massimo`.
bool LeggiConteggioRiga(plat::SeqReader& r, double massimo, int& conteggio, bool* oltre = nullptr);
// A whole line holding one finite number, blanks around it ignored.
bool NumeroDaRiga(const QString& riga, double& valore);
// True when nothing but blank lines is left in the file; otherwise `riga` (optional) tells the first line that
// holds more.
bool FineSostanziale(const plat::SeqReader& r, int* riga = nullptr);

}  // namespace dati
