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
// A text (a line, a cell of a table, a field of a record) holding one finite number as the suite's writers, forms
// and grids write it, blanks around it ignored: an optional sign, figures with an optional point, an optional
// exponent (E or e, an optional sign, figures). Anything else is no number: quotes, a comma, a TAB or any other
// control character (a Ctrl-Z too), a letter, a blank inside. `valore` is the number (0 when it is none); every
// user of such a text takes this value.
bool NumeroDaRiga(QStringView riga, double& valore);
// True when nothing but blank lines is left in the file; otherwise `riga` (optional) tells the first line that
// holds more.
bool FineSostanziale(const plat::SeqReader& r, int* riga = nullptr);

}  // namespace dati
