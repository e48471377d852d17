#include "main/dialogs/definizioni.h"

#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/texts/testi.h"

#include <cmath>

ModuloDefinizioni DefinizioniMaschere;

namespace {

QString TraduciSeNonVuoto(const QString& testo) {
  return plat::TrimBlanks(testo).isEmpty() ? plat::TrimBlanks(testo) : Traduci(testo);
}

// Reads one definition file as definition i. False, with the line of the fault in `errore`, when it cannot be used;
// `errore` empty when nothing stands at the name. `forma` (optional): the form of the dialog that shows it.
bool LeggiDefinizione(int i, const QString& percorso, const FormaDefinizione* forma, QString* errore) {
  ModuloDefinizioni& d = DefinizioniMaschere;
  const auto u = static_cast<std::size_t>(i);
  plat::SeqReader r;
  auto guasto = [&](int riga) {
    *errore = DescrizioneFile(r.Path().isEmpty() ? percorso : r.Path(), riga);
    return false;
  };
  if (!r.Open(percorso)) {
    if (r.Missing() || r.Fault() == plat::ReadFault::NotAFile || r.Fault() == plat::ReadFault::Unreadable) {
      *errore = QString();
      return false;
    }
    return guasto(r.FaultLine());
  }
  // The line `riga` ends after its last item (a further item on it would be taken for the next line's).
  auto finita = [&](int riga) { return r.AtEnd() || r.LineNumber() > riga ? true : guasto(riga); };
  // ... and goes on after an item that is not its last.
  auto continua = [&](int riga) { return r.LineNumber() == riga && !r.AtEnd() ? true : guasto(riga); };
  // A count alone on its line: a whole number from 0 to `massimo`, and the number the dialog takes (`atteso`, when
  // not -1).
  auto conteggio = [&](int& n, int massimo, int atteso = -1) {
    const int riga = r.LineNumber();
    double v = 0;
    bool ok = false;
    if (!r.ReadNumber(v, &ok) || !ok || v < 0 || v > massimo || v != std::floor(v)) return guasto(riga);
    n = static_cast<int>(v);
    if (atteso >= 0 && n != atteso) return guasto(riga);
    return finita(riga);
  };
  auto riga = [&](QString& testo) { return r.ReadLine(testo) ? true : guasto(r.LineNumber()); };
  auto voce = [&](QString& testo) { return r.ReadItem(testo) ? true : guasto(r.LineNumber()); };
  // A bound: empty (no limit) or a number.
  auto numero = [&](std::optional<double>& v) {
    const int linea = r.LineNumber();
    QString testo;
    if (!voce(testo)) return false;
    if (plat::TrimBlanks(testo).isEmpty()) v.reset();
    else if (plat::IsNumeric(testo) && std::isfinite(plat::Val(testo))) v = plat::Val(testo);
    else return guasto(linea);
    return true;
  };
  auto atteso = [forma](int FormaDefinizione::*campo) { return forma ? forma->*campo : -1; };

  int tipo = 0;
  if (!conteggio(tipo, 4, atteso(&FormaDefinizione::tipo)) || tipo < 1) return guasto(1);
  QString titolo;
  const int rigaTitolo = r.LineNumber();
  if (!voce(titolo) || !finita(rigaTitolo)) return false;
  int a = 0;
  if (tipo == 1 && !conteggio(a, 25, atteso(&FormaDefinizione::scelte))) return false;
  const int s = d.InizioSceltaDefinizione[u];
  if (s + a - 1 > 100) return guasto(r.LineNumber());
  std::vector<QString> scelte;
  for (int j = 0; j < a; ++j) {
    QString testo;
    if (!riga(testo)) return false;
    testo = TraduciSeNonVuoto(testo);
    if (!testo.endsWith(QLatin1Char('|'))) testo += QLatin1Char('|');
    scelte.push_back(testo);
  }
  int b = 0;
  const int campiAttesi = forma ? forma->campi - (tipo == 1 ? a : 0) : -1;
  if (!conteggio(b, tipo == 1 ? 25 - a : 16, campiAttesi)) return false;
  const int n = a + b;
  const int c = d.InizioCampiDefinizione[u];
  if (c + n - 1 > 300) return guasto(r.LineNumber());
  struct Campo {
    QString etichetta, formato, aiuto;
    std::optional<double> minimo, massimo;
  };
  std::vector<Campo> campi(static_cast<std::size_t>(n));
  for (Campo& f : campi) {
    QString testo;
    if (!riga(testo)) return false;
    const qsizetype parentesi = testo.indexOf(QLatin1Char('['));
    if (parentesi >= 0)
      f.etichetta = TraduciSeNonVuoto(testo.left(parentesi)) + QLatin1Char(' ') + testo.mid(parentesi);
    else
      f.etichetta = TraduciSeNonVuoto(testo);
    f.etichetta = plat::TrimBlanks(f.etichetta);
    // The format, the minimum and the maximum: three items of one line.
    const int linea = r.LineNumber();
    if (!voce(f.formato) || !continua(linea) || !numero(f.minimo) || !continua(linea) || !numero(f.massimo) ||
        !finita(linea) || !riga(testo))
      return false;
    f.aiuto = TraduciSeNonVuoto(testo);
  }
  QString finale;
  if (!riga(finale)) return false;
  ConvertiCaratteri(finale);
  int x = 0;
  if (!conteggio(x, 6, atteso(&FormaDefinizione::bottoni))) return false;
  const int e = d.InizioSecondoElencoDefinizione[u];
  if (e + x - 1 > 100) return guasto(r.LineNumber());
  // The captions: X items of one line.
  std::vector<QString> bottoni;
  const int rigaBottoni = r.LineNumber();
  for (int j = 0; j < x; ++j) {
    QString testo;
    if (!voce(testo) || !(j + 1 < x ? continua(rigaBottoni) : finita(rigaBottoni))) return false;
    bottoni.push_back(TraduciSeNonVuoto(testo));
  }
  // The help context, then nothing but blank lines.
  std::optional<double> argomento;
  for (QString ultima; !r.AtEnd();) {
    const int linea = r.LineNumber();
    r.ReadLine(ultima);
    if (plat::TrimBlanks(ultima).isEmpty()) continue;
    const QString numeroArgomento = ultima.mid(3);
    if (argomento || (ultima.toUpper() + QStringLiteral("   ")).left(3) != QLatin1String("MN=") ||
        !plat::IsNumeric(numeroArgomento) || plat::Val(numeroArgomento) < 0 ||
        plat::Val(numeroArgomento) != std::floor(plat::Val(numeroArgomento)))
      return guasto(linea);
    argomento = plat::Val(numeroArgomento);
  }

  // The whole file was read: the definition goes into the tables.
  d.TipoDefinizione[u] = tipo;
  d.TitoloDefinizione[u] = TraduciSeNonVuoto(titolo);
  for (int j = 0; j < a; ++j) d.RigheSceltaDefinizione[static_cast<std::size_t>(s + j)] = scelte[static_cast<std::size_t>(j)];
  d.InizioSceltaDefinizione[u + 1] = s + a;
  for (int j = 0; j < n; ++j) {
    const auto k = static_cast<std::size_t>(c + j);
    const Campo& f = campi[static_cast<std::size_t>(j)];
    d.EtichettaDefinizione[k] = f.etichetta;
    d.FormatoDefinizione[k] = f.formato;
    d.MinimoDefinizione[k] = f.minimo;
    d.MassimoDefinizione[k] = f.massimo;
    d.AiutoDefinizione[k] = f.aiuto;
  }
  d.InizioCampiDefinizione[u + 1] = c + n;
  d.RigaFinaleDefinizione[u] = finale;
  for (int j = 0; j < x; ++j)
    d.SecondoElencoDefinizione[static_cast<std::size_t>(e + j)] = bottoni[static_cast<std::size_t>(j)];
  d.InizioSecondoElencoDefinizione[u + 1] = e + x;
  if (u < d.ArgomentoAiutoDefinizione.size()) d.ArgomentoAiutoDefinizione[u] = argomento;
  return true;
}

}  // namespace

int LeggiDefinizioniMaschere(int count, const std::vector<QString>& percorsi,
                             const std::vector<FormaDefinizione>& forme) {
  DefinizioniMaschere = ModuloDefinizioni();
  ModuloDefinizioni& d = DefinizioniMaschere;
  d.InizioSceltaDefinizione[1] = 1;
  int lette = 0;
  const QString titolo = Traduci(QStringLiteral("ATTENZIONE")) + QStringLiteral("!");
  for (int i = 1; i <= std::min(count, kMassimoDefinizioni); ++i) {
    const auto u = static_cast<std::size_t>(i);
    const QString percorso = u < percorsi.size() ? percorsi[u] : QString();
    d.FileDefinizione[u] = percorso;
    const FormaDefinizione* forma = u < forme.size() ? &forme[u] : nullptr;
    QString errore;
    if (LeggiDefinizione(i, percorso, forma, &errore)) {
      ++lette;
      continue;
    }
    // Left out: no fields, the next definition starts where this one would have.
    d.TipoDefinizione[u] = 0;
    d.InizioSceltaDefinizione[u + 1] = d.InizioSceltaDefinizione[u];
    d.InizioCampiDefinizione[u + 1] = d.InizioCampiDefinizione[u];
    d.InizioSecondoElencoDefinizione[u + 1] = d.InizioSecondoElencoDefinizione[u];
    if (errore.isEmpty())
      plat::MsgBox(Traduci(QStringLiteral("Il file seguente non puo' essere letto:")) + QStringLiteral("\n") +
                       DescrizioneFile(percorso),
                   plat::vbOKOnly, titolo);
    else
      plat::MsgBox(FileDanneggiatoDescritto(errore), plat::vbOKOnly, titolo);
  }
  return lette;
}

void ConvertiCaratteri(QString& testo) {
  static const QString prima = [] {
    const unsigned char codici[] = {128, 129, 130, 131, 132, 133, 134, 135, 136, 137, 138, 139,
                                    140, 141, 142, 143, 144, 145, 146, 147, 148, 149, 150, 151,
                                    152, 153, 154, 160, 161, 162, 163, 164, 165, 248};
    return plat::DecodeAnsi(QByteArray(reinterpret_cast<const char*>(codici), sizeof codici));
  }();
  static const QString dopo = [] {
    const unsigned char codici[] = {199, 252, 233, 226, 228, 224, 229, 231, 234, 235, 232, 239,
                                    238, 236, 196, 197, 201, 230, 198, 244, 246, 242, 251, 249,
                                    255, 214, 220, 225, 237, 243, 250, 241, 209, 176};
    return plat::DecodeAnsi(QByteArray(reinterpret_cast<const char*>(codici), sizeof codici));
  }();
  for (QChar& c : testo) {
    if (c.unicode() < 128) continue;
    const qsizetype k = prima.indexOf(c);
    if (k >= 0 && k < dopo.size()) c = dopo.at(k);
  }
}
