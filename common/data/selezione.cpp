#include "common/data/selezione.h"

#include "common/data/numeri.h"
#include "common/data/scheda.h"
#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "common/texts/numeri.h"
#include "common/texts/testi.h"

#include <algorithm>
#include <cmath>

int LimiteCodiciScelti(int campo) { return campo == Lit ? 30 : 10; }

void CriteriPredefiniti(ModuloSelezione& s, double aperturaMassima, double inclinazioneMassima) {
  for (auto& campo : s.CodiciScelti) campo.fill(1.0);
  s.AperturaMinima = 0;
  s.AperturaMassima = aperturaMassima;
  s.ImmersioneMinima = 0;
  s.ImmersioneMassima = 360;
  s.InclinazioneMinima = 0;
  s.InclinazioneMassima = inclinazioneMassima;
}

bool ConfigurazioneSelezionabile(const ModuloConfigurazione& c, QString* campo) {
  for (int f : kOrdineFileSelezione) {
    if (c.NumeroCodici(f) > LimiteCodiciScelti(f)) {
      if (campo) *campo = c.DescrizioneColonna[static_cast<std::size_t>(f)];
      return false;
    }
  }
  return true;
}

namespace {
// Flags of field f in the file: one per code of the configuration (at most 22, which every flag array holds).
int FlagsDelCampo(const ModuloConfigurazione& c, int f) { return std::min(c.NumeroCodici(f), kMassimoCodiciColonna); }
}  // namespace

EsitoSelezione LeggiFileSelezione(const QString& percorso, const ModuloConfigurazione& c, ModuloSelezione& s,
                                  QString* errore) {
  plat::SeqReader r;
  if (!r.Open(percorso)) {
    if (r.Missing()) return EsitoSelezione::Mancante;
    // A folder, a pipe or a device at the name is no missing file: the analyses would take every discontinuity.
    if (errore) *errore = DescrizioneFile(r.Path().isEmpty() ? percorso : r.Path(), r.FaultLine());
    return EsitoSelezione::NonValida;
  }
  ModuloSelezione letta = s;
  // A flag is 0, 1 or 2; a range bound stays within ten million.
  auto numero = [&](double& v, bool flag) {
    bool ok = false;
    const int riga = r.LineNumber();
    if (!r.ReadNumberLine(v, &ok) || !ok || (flag && v != 0 && v != 1 && v != 2) ||
        std::fabs(v) > kLimiteIntervalloSelezione) {
      if (errore) *errore = DescrizioneFile(r.Path(), riga);
      return false;
    }
    return true;
  };
  for (int f : kOrdineFileSelezione) {
    const int n = FlagsDelCampo(c, f);
    for (int j = 1; j <= n; ++j) {
      double v = 0;
      if (!numero(v, true)) return EsitoSelezione::NonValida;
      letta.CodiciScelti[static_cast<std::size_t>(f)][static_cast<std::size_t>(j)] = v;
    }
  }
  for (double* v : {&letta.AperturaMinima, &letta.AperturaMassima, &letta.ImmersioneMinima,
                    &letta.ImmersioneMassima, &letta.InclinazioneMinima, &letta.InclinazioneMassima})
    if (!numero(*v, false)) return EsitoSelezione::NonValida;
  // Nothing follows the last bound but blank lines: more values would be flags of codes the configuration does
  // not hold, and every value after them would have been read in the wrong place.
  int oltre = 0;
  if (!dati::FineSostanziale(r, &oltre)) {
    if (errore) *errore = DescrizioneFile(r.Path(), oltre);
    return EsitoSelezione::NonValida;
  }
  s = letta;
  return EsitoSelezione::Letta;
}

bool ScriviFileSelezione(const QString& percorso, const ModuloConfigurazione& c, const ModuloSelezione& s) {
  plat::SeqWriter w(percorso);
  if (!w.IsOpen()) return false;
  for (int f : kOrdineFileSelezione) {
    const int n = FlagsDelCampo(c, f);
    for (int j = 1; j <= n; ++j)
      w.WriteNumber(s.CodiciScelti[static_cast<std::size_t>(f)][static_cast<std::size_t>(j)]);
  }
  for (double v : {s.AperturaMinima, s.AperturaMassima, s.ImmersioneMinima, s.ImmersioneMassima,
                   s.InclinazioneMinima, s.InclinazioneMassima})
    w.WriteLine(NumeroTesto(v));
  return w.Close();
}

bool RecordSelezionato(const QString& record, const ModuloConfigurazione& c, const ModuloSelezione& s) {
  const QString r = RecordFisso(record);
  for (int f : kOrdineFileSelezione) {
    const auto u = static_cast<std::size_t>(f);
    const QString campo = CampoDelRecord(r, f);
    const int n = FlagsDelCampo(c, f);
    for (int j = 1; j <= n; ++j) {
      const auto v = static_cast<std::size_t>(j);
      if (campo == c.CodiciColonna[v][u] && s.CodiciScelti[u][v] == 2) return false;
    }
  }
  auto fuori = [&](int f, double minimo, double massimo) {
    const double x = ValoreCampo(r, f);
    return x < minimo || x > massimo;
  };
  if (fuori(Ap, s.AperturaMinima, s.AperturaMassima) || fuori(Inc, s.InclinazioneMinima, s.InclinazioneMassima) ||
      fuori(Imm, s.ImmersioneMinima, s.ImmersioneMassima))
    return false;
  return !SoloSpazi(r.left(20));
}

QString MessaggioLimiteDiscontinuita(int limite) {
  QString testo = Traduci(QStringLiteral("Il numero di discontinuita' totali che state tentando di caricare non e' compatibile con le dimensioni attualmente ammissibili, che sono pari a<@>punti. Ripetete l'elaborazione con un numero inferiore di schede contemporaneamente caricate, oppure scegliete dei parametri piu' restrittivi per la selezione. Premete un tasto per tornare al programma principale."));  // NOLINT(whitespace/line_length)
  const qsizetype segno = testo.indexOf(QStringLiteral("<@>"));
  if (segno >= 0) testo.replace(segno, 3, QLatin1Char(' ') + QString::number(limite) + QLatin1Char(' '));
  return testo;
}
