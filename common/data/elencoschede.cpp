#include "common/data/elencoschede.h"

#include "common/data/numeri.h"
#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "common/texts/testi.h"

EsitoElenco LeggiElencoSchede(const QString& percorso, QStringList& nomi, int massimo, QString* errore) {
  nomi.clear();
  if (!plat::FileExists(percorso)) return EsitoElenco::Mancante;
  plat::SeqReader r;
  auto nonValido = [&](int riga) {
    if (errore) *errore = DescrizioneFile(r.Path().isEmpty() ? percorso : r.Path(), riga);
    nomi.clear();
    return EsitoElenco::NonValido;
  };
  if (!r.Open(percorso)) return nonValido(0);
  if (r.AtEnd()) return EsitoElenco::Letto;
  int n = 0;
  if (!dati::LeggiConteggioRiga(r, massimo, n)) return nonValido(1);
  for (int i = 0; i < n; ++i) {
    const int riga = r.LineNumber();
    QString nome;
    if (!r.ReadLine(nome)) return nonValido(riga);
    nomi << plat::TrimBlanks(nome);
  }
  return EsitoElenco::Letto;
}

bool ScriviElencoSchede(const QString& percorso, const QStringList& nomi) {
  plat::SeqWriter w(percorso);
  if (!w.IsOpen()) return false;
  w.WriteNumber(static_cast<double>(nomi.size()));
  for (const QString& n : nomi) w.WriteLine(n);
  return w.Close();
}
