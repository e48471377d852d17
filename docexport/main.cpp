#include "common/texts/avvio.h"
#include "common/texts/finestre.h"
#include "docexport/interprete.h"

#include <QFile>
#include <QStringList>

namespace {
int Principale(int argc, char** argv) {
  Avvio.NumeroModulo = 1;
  AvvioProgramma(false);
  // The whole command line is the path: a path with blanks may come in several arguments.
  QStringList parti;
  for (int i = 1; i < argc; ++i) parti << QFile::decodeName(argv[i]);
  return Main(parti.join(QLatin1Char(' ')));
}
}  // namespace

int main(int argc, char** argv) { return EseguiProgramma(argc, argv, Principale); }
