#include "eigen/scambio.h"

#include <QLatin1Char>

#include <algorithm>
#include <cmath>

QString TestoIngressoAutovalori(const MatriceScambio& tensore) {
  QString testo;
  for (const auto& riga : tensore) {
    for (const double valore : riga) testo += QString::number(valore, 'g', 9) + QLatin1Char(' ');
    testo += QStringLiteral("\r\n");
  }
  return testo;
}

bool LeggiIngressoAutovalori(plat::SeqReader& r, MatriceScambio& tensore, QString* errore, int* riga) {
  auto guasto = [&](int linea, const QString& testo) {
    if (errore) *errore = testo;
    if (riga) *riga = linea;
    return false;
  };
  MatriceScambio letto{};
  for (int i = 0; i < 3; ++i) {
    const int linea = r.LineNumber();
    if (r.AtEnd()) return guasto(linea, QStringLiteral("eigen.inp ends before line %1, 3 lines are needed").arg(linea));
    // The items of one line: the reader moves to the next line once it has read the last item of this one.
    int numeri = 0;
    while (!r.AtEnd() && r.LineNumber() == linea) {
      double valore = 0;
      bool ok = false;
      r.ReadNumber(valore, &ok);
      if (!ok)
        return guasto(linea, QStringLiteral("item %1 on line %2 of eigen.inp is not a finite number")
                                 .arg(numeri + 1)
                                 .arg(linea));
      if (numeri < 3) letto[i][numeri] = valore;
      ++numeri;
    }
    if (numeri != 3)
      return guasto(linea,
                    QStringLiteral("line %1 of eigen.inp holds %2 numbers, 3 are needed").arg(linea).arg(numeri));
  }
  if (!r.AtEnd()) return guasto(r.LineNumber(), QStringLiteral("eigen.inp holds more than 3 lines"));
  // A conductivity tensor is symmetric; the writer's rounding to nine significant digits keeps it so. A matrix
  // that is not is no tensor of the suite: the mean with its transpose would be another matrix.
  double scala = 0;
  for (const auto& righe : letto)
    for (const double valore : righe) scala = std::max(scala, std::fabs(valore));
  if (scala == 0) scala = 1;
  for (int i = 0; i < 3; ++i)
    for (int j = i + 1; j < 3; ++j)
      if (!(std::fabs(letto[i][j] / scala - letto[j][i] / scala) <= 1e-9))
        return guasto(j + 1, QStringLiteral("eigen.inp is not symmetric: entries (%1, %2) and (%2, %1) differ")
                                 .arg(i + 1)
                                 .arg(j + 1));
  tensore = letto;
  return true;
}

bool LeggiIngressoAutovalori(const QString& file, MatriceScambio& tensore, QString* errore, int* riga) {
  plat::SeqReader r;
  if (!r.Open(file)) {
    if (riga) *riga = r.FaultLine();
    if (!errore) return false;
    switch (r.Fault()) {
      case plat::ReadFault::Missing: *errore = QStringLiteral("%1 does not exist").arg(file); break;
      case plat::ReadFault::NotAFile: *errore = QStringLiteral("%1 is not a regular file").arg(file); break;
      case plat::ReadFault::TooLarge: *errore = QStringLiteral("%1 is larger than any eigen.inp").arg(file); break;
      case plat::ReadFault::LineEnds:
        *errore = QStringLiteral("line %1 of eigen.inp holds a CR that ends no line").arg(r.FaultLine());
        break;
      default: *errore = QStringLiteral("%1 cannot be read").arg(file); break;
    }
    return false;
  }
  return LeggiIngressoAutovalori(r, tensore, errore, riga);
}
