#include "cluster/tabellafamiglie.h"

#include "cluster/talvor.h"
#include "common/data/famiglie.h"
#include "common/data/fronte.h"
#include "common/data/nomi.h"
#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "common/texts/numeri.h"
#include "common/texts/testi.h"

#include <algorithm>
#include <cmath>

namespace {

int Modulo360(int gradi) { return ((gradi % 360) + 360) % 360; }

// A number of the table; a value that is not finite is written as 0.
QString Cella(double valore, int decimali) { return FormattaNumero(std::isfinite(valore) ? valore : 0.0, decimali); }

}  // namespace

int GradiInteri(double radianti) { return static_cast<int>(std::floor(radianti * 45 / std::atan(1.0) + 0.5)); }

void CentroInGradi(double inclinazione, double direzione, int& immersione, int& dip) {
  immersione = Modulo360(90 - GradiInteri(direzione));
  dip = Modulo360(90 - GradiInteri(inclinazione));
}

bool ParametriDaFronte() {
  const auto& v = Talvor.ValoriFronte;
  const QString file = FileStem(Talvor.NomeFileDati, QStringLiteral(".pgm"));
  if (!ScriviFileParametriFamiglie(file, ParametriPredefiniti(Talvor.NumeroCluster, v[kAttrito], v[kCoesione]))) {
    AvvisoFileTalvor(QStringLiteral("Impossibile scrivere il file:"), DescrizioneFile(file));
    return false;
  }
  return true;
}

bool TabellaFamiglie() {
  const auto& T = Talvor;
  const int famiglie = std::clamp(T.NumeroCluster, 0, kMassimoPoli);
  ParametriFamiglie parametri = ParametriPredefiniti(famiglie, 0, 0);
  const QString pgm = FileStem(T.NomeFileDati, QStringLiteral(".PGM"));
  if (plat::EntryExists(pgm)) {
    // A value beyond its limits, or a file that cannot be read, is told; the table then shows no strength taken
    // from the file.
    int riga = 0;
    if (LeggiFileParametriFamiglie(pgm, parametri, &riga) == EsitoParametri::NonValidi)
      AvvisoTalvor(FileDanneggiato(pgm, riga));
  } else {
    // A damaged slope file has been reported by the cluster run already: here it only gives no strengths.
    ValoriFronte v{};
    if (LeggiFileFronte(FileStem(T.NomeFileDati, QStringLiteral(".fro")), v) == EsitoFronte::Letto)
      parametri = ParametriPredefiniti(famiglie, v[kAttrito], v[kCoesione]);
  }

  const QChar tab(QLatin1Char('\t'));
  const QString gradi = QStringLiteral(" [\u00B0]");
  const QString file = FileTabella(T.NomeFileDati, QStringLiteral("FAM"));
  plat::SeqWriter w(file);
  w.WriteLine(Traduci(QStringLiteral("N. Fam.")) + tab + Traduci(QStringLiteral("Immers.")) + gradi + tab +
              Traduci(QStringLiteral("Inclinaz.")) + gradi + tab + Traduci(QStringLiteral("Apertura")) +
              QStringLiteral(" [mm]") + tab + Traduci(QStringLiteral("Frequenza")) + QStringLiteral(" [1/m]") + tab +
              Traduci(QStringLiteral("Phi")) + gradi + tab + Traduci(QStringLiteral("Coesione")) +
              QStringLiteral(" [kN/m\u00B2]"));
  for (int k = 1; k <= famiglie; ++k) {
    int immersione = 0, dip = 0;
    CentroInGradi(T.InclinazioneCentri[k], T.DirezioneCentri[k], immersione, dip);
    const auto u = static_cast<std::size_t>(k);
    // The files hold the cohesion in tenths of kN/m²; the table shows kN/m², as its header says.
    w.WriteLine(Cella(k, -1) + tab + Cella(immersione, 1) + tab + Cella(dip, 1) + tab +
                Cella(T.AperturaFamiglie[k], 1) + tab + Cella(T.FrequenzaFamiglie[k], 2) + tab +
                Cella(parametri.Attrito[u], 2) + tab + Cella(parametri.Coesione[u] * 10, 2));
  }
  if (!w.Close()) {
    AvvisoFileTalvor(QStringLiteral("Impossibile scrivere il file:"), DescrizioneFile(file));
    return false;
  }
  return true;
}
