#include "common/data/configurazione.h"

#include "common/data/scheda.h"
#include "common/platform/textio.h"
#include "common/texts/testi.h"

#include <cmath>

int ModuloConfigurazione::NumeroCodici(int i) const {
  if (i < 1 || i > kNumeroCampiRecord || !ACodici(i)) return 0;
  const double n = plat::Val(NumeroCodiciColonna[static_cast<std::size_t>(i)]);
  return n >= 1 && n <= kMassimoCodiciColonna ? static_cast<int>(n) : 0;
}

bool ModuloConfigurazione::ACodici(int i) const {
  if (i < 1 || i > kNumeroCampiRecord) return false;
  return plat::Val(PrimoValoreColonna[static_cast<std::size_t>(i)]) == 0 &&
         plat::Val(SecondoValoreColonna[static_cast<std::size_t>(i)]) == 0;
}

namespace {

// One line of the file in the column of the language, blanks around it removed.
bool LeggiRiga(plat::SeqReader& r, int lingua, QString& valore, QString* errore) {
  const int numero = r.LineNumber();
  QString riga;
  if (!r.ReadLine(riga)) {
    if (errore) *errore = DescrizioneFile(r.Path(), numero);
    return false;
  }
  riga += QLatin1Char('\t');
  for (int k = 1; k <= lingua; ++k) {
    const qsizetype tab = riga.indexOf(QLatin1Char('\t'));
    if (tab < 0) {
      if (errore) *errore = DescrizioneFile(r.Path(), numero);
      return false;
    }
    valore = plat::TrimBlanks(riga.left(tab));
    riga = riga.mid(tab + 1);
  }
  return true;
}

}  // namespace

bool LeggiFileConfigurazione(const QString& percorso, int lingua, ModuloConfigurazione& c, QString* errore) {
  c = ModuloConfigurazione();
  for (int i = 1; i <= kNumeroCampiRecord; ++i) {
    c.InizioColonna[static_cast<std::size_t>(i)] = kInizioCampo[static_cast<std::size_t>(i)];
    c.LarghezzaColonna[static_cast<std::size_t>(i)] = kLarghezzaCampo[static_cast<std::size_t>(i)];
  }
  const ModuloConfigurazione vuota = c;
  plat::SeqReader r;
  if (lingua < 1 || lingua > 6 || !r.Open(percorso)) {
    if (errore) *errore = DescrizioneFile(r.Path().isEmpty() ? percorso : r.Path(), r.FaultLine());
    return false;
  }
  auto fallisce = [&] {
    c = vuota;
    return false;
  };
  for (int i = 1; i <= kNumeroCampiRecord; ++i) {
    const auto u = static_cast<std::size_t>(i);
    if (!LeggiRiga(r, lingua, c.NumeroCodiciColonna[u], errore) ||
        !LeggiRiga(r, lingua, c.TestoAggiuntivoColonna[u], errore) ||
        !LeggiRiga(r, lingua, c.DescrizioneColonna[u], errore) ||
        !LeggiRiga(r, lingua, c.PrimoValoreColonna[u], errore) ||
        !LeggiRiga(r, lingua, c.SecondoValoreColonna[u], errore))
      return fallisce();
    if (!c.ACodici(i)) continue;
    const QString conteggio = c.NumeroCodiciColonna[u];
    const double n = plat::Val(conteggio);
    if (!plat::IsNumeric(conteggio) || n < 0 || n > kMassimoCodiciColonna || n != std::floor(n)) {
      if (errore) *errore = DescrizioneFile(r.Path(), r.LineNumber() - 5);
      return fallisce();
    }
    const int codici = static_cast<int>(n);
    for (int j = 1; j <= codici; ++j)
      if (!LeggiRiga(r, lingua, c.SignificatiCodici[static_cast<std::size_t>(j)][u], errore)) return fallisce();
    QString& legenda = c.LegendaColonna[u - 1];
    legenda.clear();
    for (int j = 1; j <= codici; ++j) {
      QString& codice = c.CodiciColonna[static_cast<std::size_t>(j)][u];
      if (!LeggiRiga(r, lingua, codice, errore)) return fallisce();
      legenda += codice + QLatin1Char('=') + c.SignificatiCodici[static_cast<std::size_t>(j)][u];
      if (j < codici) legenda += QStringLiteral(", ");
    }
  }
  c.Letta = true;
  return true;
}
