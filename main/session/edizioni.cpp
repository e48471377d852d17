#include "main/session/edizioni.h"

#include "common/data/fronte.h"
#include "common/data/opzionigrafiche.h"
#include "common/data/titoli.h"
#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "common/texts/testi.h"
#include "main/dialogs/maschera.h"
#include "main/session/menu1.h"
#include "main/session/sessione.h"

#include <QStringList>

#include <array>
#include <utility>

ModuloFronte Fronte;

namespace {

// A number as the fields show it: decimal text with a point, no leading blank, no 0 before the point of a value
// between -1 and 1, and at most 15 significant digits (ten times 1.1 shows as 11).
QString TestoCampo(double v) { return plat::TrimBlanks(plat::StrNumber(v)); }

// `riga` (when above 0): the line of the fault.
void NonValido(const QString& percorso, int riga = 0) {
  AttenzioneTradotta(FileDanneggiato(percorso, riga));
}

void NonScritto(const QString& percorso) {
  Attenzione(QStringLiteral("Il file seguente non puo' essere scritto:"), DescrizioneFile(percorso));
}

// The values of the slope file shown and entered ten times larger (cohesion, unit weights, load, anchor force).
bool Decuplo(int i) {
  return i == kCoesione || i == kPesoRoccia || i == kPesoAcqua || i == kCaricoEsterno || i == kForzaAncoraggio;
}

}  // namespace

void menu1::EdizioneFronte_Click() {
  if (SenzaSessione(Guardia::Edizione)) return;
  const QString file = FileDellaSessione(QStringLiteral(".fro"));
  ValoriFronte v{};
  int riga = 0;
  if (plat::EntryExists(file) && LeggiFileFronte(file, v, &riga) != EsitoFronte::Letto) {
    // A short or damaged file is not edited, so that nothing is written over it.
    NonValido(file, riga);
    return;
  }
  ImpostaMaschera(0, 0, 1);
  // Every value is a number of the file: a field left empty is out of its range, never a 0. Each field takes its
  // definition's range within the one the file's readers take (ten times larger where the form shows it so).
  for (int i = 1; i <= kValoriFronte; ++i) {
    const auto f = static_cast<std::size_t>(i - 1);
    MascheraCorrente.CampiObbligatori[f] = true;
    const LimitiFronte l = LimitiValoreFronte(i);
    const double scala = Decuplo(i) ? 10 : 1;
    LimitaCampoNumerico(f, scala * l.minimo, scala * l.massimo);
  }
  std::array<QString, kValoriFronte + 1> mostrati;
  for (int i = 1; i <= kValoriFronte; ++i) {
    const auto u = static_cast<std::size_t>(i);
    mostrati[u] = TestoCampo(Decuplo(i) ? v[u] * 10 : v[u]);
    ScriviCampo(i, mostrati[u]);
  }
  MostraMaschera();
  const bool confermato = MascheraCorrente.AnnullaMaschera == 0;
  if (confermato) {
    for (int i = 1; i <= kValoriFronte; ++i) {
      const auto u = static_cast<std::size_t>(i);
      QString testo;
      LeggiCampo(i, testo);
      // A field left as shown keeps the value read, in full precision.
      if (testo != mostrati[u]) v[u] = Decuplo(i) ? plat::Val(testo) / 10 : plat::Val(testo);
    }
    Fronte.CoefficienteSismico = v[kCoefficienteSismico];
  }
  ChiudiMaschera();
  if (confermato && !ScriviFileFronte(file, v)) NonScritto(file);
}

void menu1::EdizioneTitoli_Click() {
  if (SenzaSessione(Guardia::Edizione)) return;
  const QString file = FileDellaSessione(QStringLiteral(".TIT"));
  std::vector<QString>& correnti = Sessione.TitoliCorrenti;
  correnti.resize(11);
  TitoliSessione t;
  for (int i = 1; i <= 9; ++i) t[static_cast<std::size_t>(i)] = correnti[static_cast<std::size_t>(i)];
  int riga = 0;
  if (plat::EntryExists(file) && LeggiFileTitoli(file, t, &riga) < 0) {
    NonValido(file, riga);
    return;
  }
  // Titles 5 to 9 are folded into titles 2 to 4.
  constexpr std::array<std::pair<int, int>, 5> kPieghe = {{{5, 2}, {6, 3}, {7, 4}, {8, 3}, {9, 4}}};
  for (const auto& [da, in] : kPieghe) {
    QString& s = t[static_cast<std::size_t>(da)];
    if (s.isEmpty()) continue;
    t[static_cast<std::size_t>(in)] += QStringLiteral(" - ") + s;
    s.clear();
  }
  ImpostaMaschera(0, 0, 6);
  for (int i = 1; i <= 4; ++i) ScriviCampo(i, t[static_cast<std::size_t>(i)]);
  MostraMaschera();
  if (MascheraCorrente.AnnullaMaschera == 0)
    for (int i = 1; i <= 4; ++i) LeggiCampo(i, t[static_cast<std::size_t>(i)]);
  ChiudiMaschera();
  for (int i = 1; i <= 9; ++i) correnti[static_cast<std::size_t>(i)] = t[static_cast<std::size_t>(i)];
  // Written also after a cancel: the file then holds the folded titles as read.
  if (!ScriviFileTitoli(file, t)) NonScritto(file);
}

// The graphics options of the session before a TALVOR plot. `tipo` 1: the cluster plot (definition 2), any other
// value: the projection of the initial data (definition 7); the kind is written as option 3. Afterwards
// AnnullaMaschera is 0 when the user confirmed and the file was written, non-zero otherwise (cancelled, or a file
// that could not be read or written: reported in a message).
void menu1::EditaOpzioniGrafiche(int tipo) {
  const QString file = FileDellaSessione(QStringLiteral(".GRA"));
  OpzioniGrafiche o;
  int riga = 0;
  if (LeggiFileOpzioniGrafiche(file, o, &riga) == EsitoOpzioni::NonValido) {
    NonValido(file, riga);
    MascheraCorrente.AnnullaMaschera = -1;
    return;
  }
  ImpostaMaschera(0, 0, tipo == 1 ? 2 : 7);
  // Fields 1 to 5 hold options 1, 2, 4, 5 and 6; option 3 is the kind of plot.
  constexpr std::array<int, 6> kOpzione = {0, 1, 2, 4, 5, 6};
  auto opzione = [&o, &kOpzione](int campo) -> double& {
    return o.Opzione[static_cast<std::size_t>(kOpzione[static_cast<std::size_t>(campo)])];
  };
  // Each field shows the entry with the meaning its readers give the stored value: option 1 is equal-angle (the
  // second entry) only when 2, option 2 the lower hemisphere (the first entry) only when 1, options 4 to 6 drawn
  // (the first entry) only when 1. A value that is neither 1 nor 2 is shown so, and the form says that it names
  // no entry.
  for (int i = 1; i <= 5; ++i) {
    const double v = opzione(i);
    const bool prima = i == 1 ? v != 2 : v == 1;
    ScriviCampo(i, prima ? QStringLiteral("1") : QStringLiteral("2"));
    MascheraCorrente.SceltaFuoriElenco[static_cast<std::size_t>(i - 1)] = v != 1 && v != 2;
  }
  MostraMaschera();
  const bool confermato = MascheraCorrente.AnnullaMaschera == 0;
  if (confermato) {
    for (int i = 1; i <= 5; ++i) {
      QString testo;
      LeggiCampo(i, testo);
      opzione(i) = plat::Val(testo);
    }
    o.Opzione[3] = tipo;
  }
  ChiudiMaschera();
  if (confermato && !ScriviFileOpzioniGrafiche(file, o)) {
    NonScritto(file);
    MascheraCorrente.AnnullaMaschera = -1;
  }
}
