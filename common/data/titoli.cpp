#include "common/data/titoli.h"

#include "common/platform/textio.h"

int LeggiFileTitoli(const QString& percorso, TitoliSessione& titoli) {
  plat::SeqReader r;
  if (!r.Open(percorso)) return -1;
  int letti = 0;
  QString riga;
  while (letti < 9 && r.ReadLine(riga)) titoli[static_cast<std::size_t>(++letti)] = riga;
  return letti;
}

void LeggiTitoliAnalisi(const QString& percorso, TitoliSessione& titoli) {
  titoli.fill(QString());
  LeggiFileTitoli(percorso, titoli);
}

bool ScriviFileTitoli(const QString& percorso, const TitoliSessione& titoli) {
  plat::SeqWriter w(percorso);
  if (!w.IsOpen()) return false;
  for (int i = 1; i <= 9; ++i) w.WriteLine(titoli[static_cast<std::size_t>(i)]);
  return w.Close();
}
