#include "common/data/titoli.h"

#include "common/platform/textio.h"

int LeggiFileTitoli(const QString& percorso, TitoliSessione& titoli, int* riga) {
  plat::SeqReader r;
  if (!r.Open(percorso)) {
    if (riga) *riga = r.FaultLine();
    return r.Missing() ? -1 : -2;
  }
  int letti = 0;
  QString testo;
  while (letti < 9 && r.ReadLine(testo)) titoli[static_cast<std::size_t>(++letti)] = testo;
  return letti;
}

bool LeggiTitoliAnalisi(const QString& percorso, TitoliSessione& titoli, int* riga) {
  titoli.fill(QString());
  if (LeggiFileTitoli(percorso, titoli, riga) != -2) return true;
  titoli.fill(QString());
  return false;
}

bool ScriviFileTitoli(const QString& percorso, const TitoliSessione& titoli) {
  plat::SeqWriter w(percorso);
  if (!w.IsOpen()) return false;
  for (int i = 1; i <= 9; ++i) w.WriteLine(titoli[static_cast<std::size_t>(i)]);
  return w.Close();
}
