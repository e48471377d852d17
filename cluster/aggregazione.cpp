#include "cluster/aggregazione.h"

#include "cluster/geometria.h"

#include "common/data/numeri.h"
#include "common/platform/files.h"
#include "common/platform/textio.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

int DecimiDiGrado(double angolo) {
  // nearbyint rounds halves to the even number in the default rounding mode.
  return static_cast<int>(std::nearbyint(angolo * 450.0 / std::atan(1.0) + 0.5));
}

MatriceDistanze::MatriceDistanze(const float* inclinazione, const float* direzione, int n)
    : n_(std::max(n, 0)), d_(static_cast<std::size_t>(n_ + 1) * (n_ + 1), 0) {
  // The unit vector of every point once; the angle of each pair from them, as AngoloTraDirezioni computes it.
  std::vector<std::array<double, 3>> v(static_cast<std::size_t>(n_) + 1);
  for (int i = 1; i <= n_; ++i) AngoliInVersore(v[i][0], v[i][1], v[i][2], inclinazione[i], direzione[i]);
  for (int i = 1; i < n_; ++i)
    for (int j = i + 1; j <= n_; ++j)
      Imposta(i, j, DecimiDiGrado(AngoloTraVersori(v[i][0], v[i][1], v[i][2], v[j][0], v[j][1], v[j][2])));
}

void MatriceDistanze::Imposta(int i, int j, int decimi) {
  const auto v = static_cast<std::int16_t>(decimi);
  d_[static_cast<std::size_t>(i) * (n_ + 1) + j] = v;
  d_[static_cast<std::size_t>(j) * (n_ + 1) + i] = v;
}

AggregazioneGerarchica::AggregazioneGerarchica(const MatriceDistanze& distanze, int metodo)
    : metodo_(metodo), n_(distanze.N()), livello_(distanze.N()) {
  membri_.assign(static_cast<std::size_t>(n_) + 1, {});
  for (int i = 1; i <= n_; ++i) membri_[i] = {i};
  const std::size_t celle = static_cast<std::size_t>(n_ + 1) * (n_ + 1);
  valore_.assign(celle, 0.0);
  if (metodo_ == MediaDiGruppo) somma_.assign(celle, 0);
  for (int a = 1; a < n_; ++a)
    for (int b = a + 1; b <= n_; ++b) {
      valore_[Indice(a, b)] = distanze(a, b);
      if (metodo_ == MediaDiGruppo) somma_[Indice(a, b)] = distanze(a, b);
    }
  minimoRiga_.assign(static_cast<std::size_t>(n_) + 1, 1e30);
  colonnaMinimo_.assign(static_cast<std::size_t>(n_) + 1, 0);
  for (int a = 1; a < n_; ++a) MinimoRiga(a);
}

void AggregazioneGerarchica::MinimoRiga(int a) {
  const double* riga = &valore_[static_cast<std::size_t>(a) * (n_ + 1)];
  double m = 1e30;
  int colonna = 0;
  for (int b = a + 1; b <= livello_; ++b)
    if (riga[b] < m) {
      m = riga[b];
      colonna = b;
    }
  minimoRiga_[a] = m;
  colonnaMinimo_[a] = colonna;
}

bool AggregazioneGerarchica::Unisci(int* paOut, int* pbOut) {
  const int k = livello_;
  if (k < 2) return false;
  // The first row holding the smallest value, and in it the first column: the first pair in scan order.
  double dmin = 1e30;
  int pa = 0, pb = 0;
  for (int a = 1; a < k; ++a)
    if (minimoRiga_[a] < dmin) {
      dmin = minimoRiga_[a];
      pa = a;
      pb = colonnaMinimo_[a];
    }
  if (pa == 0) {  // no value below 1e30: cannot happen with angles of 0 to 900 tenths
    pa = 1;
    pb = 2;
  }

  // The linkage of the merged cluster with every other one.
  const auto na = static_cast<std::int64_t>(membri_[pa].size());
  const auto nb = static_cast<std::int64_t>(membri_[pb].size());
  for (int c = 1; c <= k; ++c) {
    if (c == pa || c == pb) continue;
    const std::size_t ac = Indice(pa, c), bc = Indice(pb, c);
    switch (metodo_) {
      case VicinoProssimo: valore_[ac] = std::min(valore_[ac], valore_[bc]); break;
      case VicinoLontano: valore_[ac] = std::max(valore_[ac], valore_[bc]); break;
      default: {
        somma_[ac] += somma_[bc];
        const auto coppie = (na + nb) * static_cast<std::int64_t>(membri_[c].size());
        valore_[ac] = static_cast<double>(somma_[ac]) / static_cast<double>(coppie);
        break;
      }
    }
  }
  std::vector<int>& a = membri_[pa];
  a.insert(a.end(), membri_[pb].begin(), membri_[pb].end());

  // The last cluster takes the freed slot.
  if (pb < k) {
    membri_[pb] = std::move(membri_[k]);
    for (int c = 1; c < k; ++c) {
      if (c == pb) continue;
      valore_[Indice(pb, c)] = valore_[Indice(k, c)];
      if (metodo_ == MediaDiGruppo) somma_[Indice(pb, c)] = somma_[Indice(k, c)];
    }
  }
  membri_[k].clear();
  livello_ = k - 1;

  // Row minima: rows pa and pb anew; any other row anew when its minimum stood in a column that changed or went,
  // else only the two changed columns can bring a new minimum.
  for (int r = 1; r < livello_; ++r) {
    const int c = colonnaMinimo_[r];
    if (r == pa || r == pb || c == pa || c == pb || c == k) {
      MinimoRiga(r);
      continue;
    }
    for (int col : {pa, pb}) {
      if (col <= r || col > livello_) continue;
      const double v = valore_[Indice(r, col)];
      if (v < minimoRiga_[r] || (v == minimoRiga_[r] && col < colonnaMinimo_[r])) {
        minimoRiga_[r] = v;
        colonnaMinimo_[r] = col;
      }
    }
  }
  if (paOut) *paOut = pa;
  if (pbOut) *pbOut = pb;
  return true;
}

// ---------------------------------------------------------------------------------------------------------------

QString NomePartizione(int livello) { return plat::JoinPath(plat::ProgramFolder(), QString::number(livello)); }

namespace {
// A whole number in print form and CR LF: " 12 ".
void Intero(QByteArray& out, int v) {
  char testo[24];
  testo[0] = ' ';
  char* fine = std::to_chars(testo + 1, testo + sizeof testo - 3, v).ptr;
  *fine++ = ' ';
  *fine++ = '\r';
  *fine++ = '\n';
  out.append(testo, fine - testo);
}
}  // namespace

bool ScriviPartizione(const Partizione& membri, int livello) {
  QByteArray testo;
  std::size_t righe = 1;
  for (int c = 1; c <= livello && c < static_cast<int>(membri.size()); ++c) righe += 1 + membri[c].size();
  testo.reserve(static_cast<qsizetype>(righe * 7));
  Intero(testo, livello);
  for (int c = 1; c <= livello && c < static_cast<int>(membri.size()); ++c) {
    Intero(testo, static_cast<int>(membri[c].size()));
    for (int p : membri[c]) Intero(testo, p);
  }
  return plat::WriteWorkFile(NomePartizione(livello), testo);
}

bool LeggiPartizione(int livello, int numeroPoli, Partizione& membri, QString* errore, int* riga) {
  int linea = 0;
  const auto rifiuta = [&](const QString& perche) {
    if (errore) *errore = perche;
    if (riga) *riga = linea;
    return false;
  };
  plat::SeqReader r;
  if (!r.Open(NomePartizione(livello))) {
    linea = r.FaultLine();
    return rifiuta(r.Missing() ? QStringLiteral("missing") : QStringLiteral("not a file that can be read"));
  }
  // Every number alone on its line, as ScriviPartizione writes it.
  const auto intero = [&](int& v, int minimo, int massimo) {
    double x = 0;
    linea = r.LineNumber();
    if (!dati::LeggiNumeroRiga(r, x) || x != std::floor(x) || x < minimo || x > massimo) return false;
    v = static_cast<int>(x);
    return true;
  };
  int k = 0;
  if (!intero(k, 1, numeroPoli) || k != livello) return rifiuta(QStringLiteral("bad cluster count"));
  Partizione p(static_cast<std::size_t>(k) + 1);
  // Every point belongs to one cluster at most, as the aggregation writes them: a point listed twice would count
  // twice in a cluster's weight, or be drawn in two colours.
  std::vector<bool> preso(static_cast<std::size_t>(numeroPoli) + 1, false);
  for (int c = 1; c <= k; ++c) {
    int m = 0;
    if (!intero(m, 0, numeroPoli)) return rifiuta(QStringLiteral("bad member count of cluster %1").arg(c));
    p[c].resize(m);
    for (int j = 0; j < m; ++j) {
      if (!intero(p[c][j], 1, numeroPoli)) return rifiuta(QStringLiteral("bad member of cluster %1").arg(c));
      if (preso[static_cast<std::size_t>(p[c][j])]) return rifiuta(QStringLiteral("point %1 twice").arg(p[c][j]));
      preso[static_cast<std::size_t>(p[c][j])] = true;
    }
  }
  if (!dati::FineSostanziale(r, &linea)) return rifiuta(QStringLiteral("more than the partition"));
  membri = std::move(p);
  return true;
}
