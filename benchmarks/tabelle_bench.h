// The session files that the report benchmarks start from: titles, a slope file, and the result tables of `n`
// families with the wedges of every pair, written as the programs write them.
#pragma once

#include <QFile>
#include <QString>

namespace bench {

inline void Scrivi(const QString& percorso, const QString& testo) {
  QFile f(percorso);
  f.open(QIODevice::WriteOnly);
  f.write(testo.toLatin1());
}

// bench.tit, bench.fro, bench.FAM, bench.pgm, bench.GMC and bench.PER in `dati`. Family k has the dip direction
// k·passoImm mod 360 and the dip k·passoInc mod 90.
inline void ScriviSessione(const QString& dati, const QString& titoli, int n, int passoImm, int passoInc) {
  Scrivi(dati + "/bench.tit", titoli);
  Scrivi(dati + "/bench.fro", "70\r\n125\r\n10\r\n125\r\n2\r\n35\r\n2.6\r\n0.981\r\n25\r\n");
  QString fam = "N. Fam.\tImmers.\tInclinaz.\tApertura\tFrequenza\tPhi\tCoesione\r\n", pgm;
  for (int k = 1; k <= n; ++k) {
    fam += QString("%1\t%2.0\t%3.0\t1.5\t0.75\t35.00\t20.00\r\n").arg(k).arg(k * passoImm % 360).arg(k * passoInc % 90);
    pgm += QString("%1\r\n%2\r\n").arg(30 + k % 10).arg(k % 5);
  }
  QString gmc = "imm.P1\tinc.P1\tsciv.P1\timm.P2\tinc.P2\tsciv.P2\tF.S.\tVolume\r\n";
  for (int i = 1; i <= n; ++i)
    for (int j = i + 1; j <= n; ++j)
      gmc += QString("%1.0\t%2.0\tSI\t%3.0\t%4.0\tNO\t%5\t%6\r\n")
                 .arg(i * passoImm % 360).arg(i * passoInc % 90).arg(j * passoImm % 360).arg(j * passoInc % 90)
                 .arg((i * j) % 700 / 100.0, 0, 'f', 2).arg((i + j) * 1.25, 0, 'f', 2);
  Scrivi(dati + "/bench.FAM", fam);
  Scrivi(dati + "/bench.pgm", pgm);
  Scrivi(dati + "/bench.GMC", gmc);
  Scrivi(dati + "/bench.PER", "Componente\tModulo\tInclinazione\tDirezione\r\nMassima\t8.16E-04\t12.0\t302.0\r\n"
                              "Media\t2.10E-04\t8.0\t31.0\r\nMinima\t5.50E-05\t76.0\t159.0\r\n");
}

}  // namespace bench
