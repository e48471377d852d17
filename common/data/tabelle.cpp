#include "common/data/tabelle.h"

#include "common/data/nomi.h"
#include "common/data/numeri.h"
#include "common/platform/textio.h"

#include <limits>

namespace {

const QChar kTab(QLatin1Char('\t'));
constexpr double kSenzaLimite = std::numeric_limits<double>::max();

// The cells of every row of a table, its heading too.
int CelleTabella(TabellaRisultati tipo) {
  switch (tipo) {
    case TabellaRisultati::Famiglie:
      return 7;
    case TabellaRisultati::Conducibilita:
      return 4;
    case TabellaRisultati::Cunei:
      break;
  }
  return 8;
}

bool Cifra(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// The figures of `c` from `i` on; `i` then stands after them.
qsizetype Cifre(QStringView c, qsizetype& i) {
  const qsizetype inizio = i;
  while (i < c.size() && Cifra(c[i])) ++i;
  return i - inizio;
}

// A number as FormattaNumero writes it with `decimali` places: the whole part without leading zeros ("0" before a
// leading point; none after a minus sign: "-.5"), then for `decimali` from 1 the point and that many figures. A
// minus sign only when `negativo`.
bool FormaFissa(QStringView c, int decimali, bool negativo) {
  qsizetype i = 0;
  const bool meno = negativo && c.startsWith(QLatin1Char('-'));
  if (meno) i = 1;
  const qsizetype inizio = i;
  const qsizetype intere = Cifre(c, i);
  if (meno ? intere > 0 && c[inizio] == QLatin1Char('0') : intere == 0 || (intere > 1 && c[inizio] == QLatin1Char('0')))
    return false;
  if (decimali < 0) return intere > 0 && i == c.size();
  if (i == c.size() || c[i] != QLatin1Char('.')) return false;
  ++i;
  return Cifre(c, i) == decimali && i == c.size();
}

// A number in the exponent form of the conductivities: one figure, the point, two figures, "E", a sign and at
// least two figures ("8.16E-04").
bool FormaEsponente(QStringView c) {
  qsizetype i = 0;
  if (Cifre(c, i) != 1 || i == c.size() || c[i] != QLatin1Char('.')) return false;
  ++i;
  if (Cifre(c, i) != 2 || i + 1 >= c.size() || c[i] != QLatin1Char('E') ||
      (c[i + 1] != QLatin1Char('+') && c[i + 1] != QLatin1Char('-')))
    return false;
  i += 2;
  return Cifre(c, i) >= 2 && i == c.size();
}

// A cell holding a number from `minimo` to `massimo`, in the form `forma` says.
template <typename Forma>
bool Numero(const QString& cella, Forma forma, double minimo, double massimo, double& valore) {
  return forma(cella) && dati::NumeroDaRiga(cella, valore) && valore >= minimo && valore <= massimo;
}
template <typename Forma>
bool Numero(const QString& cella, Forma forma, double minimo, double massimo) {
  double valore = 0;
  return Numero(cella, forma, minimo, massimo, valore);
}
// The forms of the writers: a whole number, a whole angle written with one place ("120.0"), a number with one or
// two places.
bool Intero(QStringView c) { return FormaFissa(c, -1, false); }
bool Angolo(QStringView c) { return FormaFissa(c, 1, false) && c.endsWith(QLatin1String(".0")); }
bool UnaCifra(QStringView c) { return FormaFissa(c, 1, true); }
bool DueCifre(QStringView c) { return FormaFissa(c, 2, false); }

// A cell holding a label or a word: something that is not blank.
bool Parola(const QString& cella) { return !plat::TrimBlanks(cella).isEmpty(); }

// The heading row: the table's cells, each a label (neither blank nor a number: a row of values is no heading).
bool TestataValida(const QString& riga, TabellaRisultati tipo) {
  const QStringList celle = riga.split(kTab);
  if (celle.size() != CelleTabella(tipo)) return false;
  double numero = 0;
  for (const QString& c : celle)
    if (!Parola(c) || dati::NumeroDaRiga(c, numero)) return false;
  return true;
}

// Row `k` (from 1) of the family table, written by TALVOR from the families' centres and parameters: the dip
// direction from 0 to 359, the aperture with one place (of either sign), frequency, friction angle and cohesion
// with two.
bool RigaFamiglia(const QStringList& celle, int k) {
  return Numero(celle[0], Intero, k, k) && Numero(celle[1], Angolo, 0, 359) && Numero(celle[2], Angolo, 0, 90) &&
         Numero(celle[3], UnaCifra, -kSenzaLimite, kSenzaLimite) && Numero(celle[4], DueCifre, 0, kSenzaLimite) &&
         Numero(celle[5], DueCifre, 0, 90) && Numero(celle[6], DueCifre, 0, kSenzaLimite);
}

// A row of the conductivity table: its value no larger than `precedente`, which it then becomes.
bool RigaConducibilita(const QStringList& celle, double& precedente) {
  double valore = 0;
  if (!Parola(celle[0]) || !Numero(celle[1], FormaEsponente, 0, precedente, valore) ||
      !Numero(celle[2], Angolo, 0, 90) || !Numero(celle[3], Angolo, 0, 360))
    return false;
  precedente = valore;
  return true;
}

}  // namespace

QString FileTabellaRisultati(const QString& nomeSessione, TabellaRisultati tabella) {
  switch (tabella) {
    case TabellaRisultati::Famiglie:
      return FileTabella(nomeSessione, QStringLiteral("FAM"));
    case TabellaRisultati::Conducibilita:
      return FileTabella(nomeSessione, QStringLiteral("PER"));
    case TabellaRisultati::Cunei:
      break;
  }
  return FileStem(nomeSessione, QStringLiteral(".GMC"));
}

bool ValoriRigaCuneo(const QString& riga, CuneoTabella& c) {
  const QStringList celle = riga.split(kTab);
  return celle.size() == 8 && Numero(celle[0], Angolo, 0, 360, c.Immersione1) &&
         Numero(celle[1], Angolo, 0, 90, c.Inclinazione1) && Parola(celle[2]) &&
         Numero(celle[3], Angolo, 0, 360, c.Immersione2) && Numero(celle[4], Angolo, 0, 90, c.Inclinazione2) &&
         Parola(celle[5]) && Numero(celle[6], DueCifre, 0, 99.99, c.FattoreSicurezza) &&
         Numero(celle[7], DueCifre, 0, kSenzaLimite, c.Volume);
}

EsitoTabellaRisultati LeggiTabellaRisultati(const QString& percorso, TabellaRisultati tipo,
                                            RigheTabellaRisultati& tabella, int* riga) {
  tabella = RigheTabellaRisultati();
  plat::SeqReader r;
  const bool aperto = r.Open(percorso);
  tabella.percorso = r.Path().isEmpty() ? percorso : r.Path();
  auto guasto = [&](int linea) {
    if (riga) *riga = linea;
    const QString file = tabella.percorso;
    tabella = RigheTabellaRisultati();
    tabella.percorso = file;
    return EsitoTabellaRisultati::NonValida;
  };
  if (!aperto) {
    if (r.Missing()) return EsitoTabellaRisultati::Mancante;
    return guasto(r.FaultLine());
  }
  QString testo;
  if (!r.ReadLine(testo) || !TestataValida(testo, tipo)) return guasto(1);
  tabella.testata = testo;
  const int celle = CelleTabella(tipo);
  double conducibilita = kSenzaLimite;
  for (int linea = r.LineNumber(); r.ReadLine(testo); linea = r.LineNumber()) {
    // Blank lines after the last row end the table; a blank line before a row is damage.
    if (plat::TrimBlanks(testo).isEmpty()) {
      if (dati::FineSostanziale(r)) break;
      return guasto(linea);
    }
    const QStringList c = testo.split(kTab);
    const int k = static_cast<int>(tabella.righe.size()) + 1;
    bool valida = c.size() == celle;
    if (valida) {
      switch (tipo) {
        case TabellaRisultati::Famiglie:
          valida = RigaFamiglia(c, k);
          break;
        case TabellaRisultati::Conducibilita:
          valida = k <= 3 && RigaConducibilita(c, conducibilita);
          break;
        case TabellaRisultati::Cunei: {
          CuneoTabella cuneo;
          valida = ValoriRigaCuneo(testo, cuneo);
          break;
        }
      }
    }
    if (!valida) return guasto(linea);
    tabella.righe << testo;
  }
  // The conductivity table holds its three principal directions, or it is cut short.
  if (tipo == TabellaRisultati::Conducibilita && tabella.righe.size() != 3)
    return guasto(static_cast<int>(tabella.righe.size()) + 2);
  return EsitoTabellaRisultati::Letta;
}
