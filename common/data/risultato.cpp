#include "common/data/risultato.h"

#include "common/data/numeri.h"
#include "common/platform/textio.h"

#include <cmath>
#include <tuple>
#include <vector>

QString NumeroBreve(double valore) { return plat::StrNumber(valore, true); }

EsitoRisultato LeggiFileRisultato(const QString& percorso, RisultatoCluster& esito, int massimoPunti,
                                  int massimoCluster, int* riga) {
  plat::SeqReader r;
  // Every value stands alone on its line: a line that holds anything else ("1,5", "5 6") is damaged, and the line
  // told is that one, taken before the value is read.
  int linea = 0;
  auto fallisce = [&](EsitoRisultato e) {
    if (riga) *riga = linea;
    return e;
  };
  if (!r.Open(percorso)) {
    if (r.Missing()) return EsitoRisultato::Mancante;
    linea = r.FaultLine();
    return fallisce(EsitoRisultato::NonValido);
  }
  auto numero = [&](double& valore) {
    linea = r.LineNumber();
    return dati::LeggiNumeroRiga(r, valore);
  };
  auto conteggio = [&](double massimo, int& valore, bool* oltre = nullptr) {
    linea = r.LineNumber();
    return dati::LeggiConteggioRiga(r, massimo, valore, oltre);
  };
  RisultatoCluster letto;
  QString testo;
  for (int k = 1; k <= 9; ++k) {
    linea = r.LineNumber();
    if (!r.ReadLine(testo)) return fallisce(EsitoRisultato::NonValido);
    letto.Titoli[static_cast<std::size_t>(k)] = testo;
  }
  bool oltre = false;
  if (!conteggio(massimoPunti, letto.NumeroPoli, &oltre))
    return fallisce(oltre ? EsitoRisultato::TroppiPunti : EsitoRisultato::NonValido);
  // A clustering has at least one point, which holds the centre of its one cluster at least.
  if (letto.NumeroPoli < 1) return fallisce(EsitoRisultato::NonValido);
  const int n = letto.NumeroPoli;
  letto.Punti.assign(static_cast<std::size_t>(n) + 1, std::array<double, 5>{});
  // The line of each value, for the message about a centre out of its range.
  std::vector<std::array<int, 5>> linee(static_cast<std::size_t>(n) + 1);
  for (int i = 1; i <= n; ++i) {
    const auto u = static_cast<std::size_t>(i);
    for (std::size_t k = 1; k <= 4; ++k) {
      if (!numero(letto.Punti[u][k])) return fallisce(EsitoRisultato::NonValido);
      linee[u][k] = linea;
    }
  }
  if (!conteggio(massimoCluster, letto.NumeroCluster, &oltre))
    return fallisce(oltre ? EsitoRisultato::TroppiCluster : EsitoRisultato::NonValido);
  // A clustering keeps at least one cluster, and the centre of cluster k stands in point row k.
  if (letto.NumeroCluster < 1 || letto.NumeroCluster > n) return fallisce(EsitoRisultato::NonValido);
  // Every centre is an orientation. A dip from 0 to 90 degrees: an inclination from 0 to pi/2. A dip direction from
  // 0 to 360 degrees: a direction from pi/2 - 2 pi (pi/2 - dip direction as it stands) to 2 pi (brought into one
  // turn). Give or take the rounding of the file's seven digits.
  constexpr double kArrotondamento = 1e-6;
  const double pi = 4 * std::atan(1.0);
  auto entro = [&](double v, double minimo, double massimo) {
    return v >= minimo - kArrotondamento && v <= massimo + kArrotondamento;
  };
  using Limiti = std::tuple<std::size_t, double, double>;  // value, least, greatest
  for (int c = 1; c <= letto.NumeroCluster; ++c) {
    const auto u = static_cast<std::size_t>(c);
    for (const auto& [k, minimo, massimo] : {Limiti{3, 0, pi / 2}, Limiti{4, pi / 2 - 2 * pi, 2 * pi}}) {
      if (!entro(letto.Punti[u][k], minimo, massimo)) {
        linea = linee[u][k];
        return fallisce(EsitoRisultato::NonValido);
      }
    }
  }
  // The maximum angular distance of membership: 0 to 90 degrees.
  if (!numero(letto.DistanzaMassima) || !entro(letto.DistanzaMassima, 0, pi / 2))
    return fallisce(EsitoRisultato::NonValido);
  letto.Membri.assign(static_cast<std::size_t>(letto.NumeroCluster) + 1, {});
  // Every point belongs to one family at most, as the clustering writes them: a point listed twice would count
  // twice in a family's weight and frequency.
  std::vector<bool> preso(static_cast<std::size_t>(n) + 1, false);
  for (int k = 1; k <= letto.NumeroCluster; ++k) {
    int membri = 0;
    if (!conteggio(n, membri)) return fallisce(EsitoRisultato::NonValido);
    auto& gruppo = letto.Membri[static_cast<std::size_t>(k)];
    gruppo.reserve(static_cast<std::size_t>(membri));
    for (int j = 0; j < membri; ++j) {
      int indice = 0;
      if (!conteggio(n, indice) || indice < 1 || preso[static_cast<std::size_t>(indice)])
        return fallisce(EsitoRisultato::NonValido);
      preso[static_cast<std::size_t>(indice)] = true;
      gruppo.push_back(indice);
    }
  }
  // Nothing follows the last member but blank lines.
  if (!dati::FineSostanziale(r, &linea)) return fallisce(EsitoRisultato::NonValido);
  esito = std::move(letto);
  return EsitoRisultato::Letto;
}

bool ScriviFileRisultato(const QString& percorso, const RisultatoCluster& r) {
  const int n = r.NumeroPoli;
  const int k = r.NumeroCluster;
  if (n < 0 || k < 0 || k > n || static_cast<int>(r.Punti.size()) <= n ||
      (k > 0 && static_cast<int>(r.Membri.size()) <= k) || !std::isfinite(r.DistanzaMassima))
    return false;
  for (int i = 1; i <= n; ++i)
    for (std::size_t c = 1; c <= 4; ++c)
      if (!std::isfinite(r.Punti[static_cast<std::size_t>(i)][c])) return false;
  for (int c = 1; c <= k; ++c)
    for (int indice : r.Membri[static_cast<std::size_t>(c)])
      if (indice < 1 || indice > n) return false;

  plat::SeqWriter w(percorso);
  if (!w.IsOpen()) return false;
  for (int t = 1; t <= 9; ++t) w.WriteLine(r.Titoli[static_cast<std::size_t>(t)]);
  w.WriteNumber(n);
  QString testo;
  for (int i = 1; i <= n; ++i)
    for (std::size_t c = 1; c <= 4; ++c) {
      testo += NumeroBreve(r.Punti[static_cast<std::size_t>(i)][c]);
      testo += QLatin1String("\r\n");
    }
  w.Write(testo);
  w.WriteNumber(k);
  w.WriteLine(NumeroBreve(r.DistanzaMassima));
  for (int c = 1; c <= k; ++c) {
    const auto& gruppo = r.Membri[static_cast<std::size_t>(c)];
    w.WriteNumber(static_cast<double>(gruppo.size()));
    for (int indice : gruppo) w.WriteNumber(indice);
  }
  return w.Close();
}
