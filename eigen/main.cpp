// EIGEN: principal values and directions of a symmetric 3 x 3 matrix. Reads eigen.inp from the program folder and
// writes eigen.out there, by the rules of every save: the three values, then one line per direction (x y z), in the
// same order as the values.
// eigen.inp is read by the reader of the exchange (eigen/scambio.h), on the suite's sequential text: three lines of
// three finite numbers that make a symmetric matrix. Any other input, or values beyond the range of numbers, ends
// the program with exit code 1 and one line on the standard error; eigen.out is then not written.
#include "common/platform/files.h"
#include "eigen/scambio.h"

#include <Eigen/Dense>

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <cstdio>

namespace {

QString Numero(double v) { return QString::number(v, 'g', 15); }

int Errore(const QString& testo) {
  std::fprintf(stderr, "EIGEN: %s\n", qPrintable(testo));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  plat::CheckTemporaryFolder();
  QCoreApplication app(argc, argv);
  const QString cartella = QCoreApplication::applicationDirPath();
  MatriceScambio tensore{};
  QString errore;
  if (!LeggiIngressoAutovalori(cartella + QStringLiteral("/eigen.inp"), tensore, &errore)) return Errore(errore);
  Eigen::Matrix3d m;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) m(i, j) = tensore[i][j];
  // The matrix is first brought to entries of at most 1, so that no finite entry overflows on the way; the values
  // are scaled back. Its mean with its transpose removes the rounding differences that the reader allows.
  const double scala = m.cwiseAbs().maxCoeff();
  if (scala > 0) m /= scala;
  const Eigen::Matrix3d s = (m + m.transpose()) / 2;
  Eigen::SelfAdjointEigenSolver<Eigen::Matrix3d> solver(s);
  if (solver.info() != Eigen::Success) return Errore(QStringLiteral("no solution"));
  Eigen::Vector3d valori = solver.eigenvalues();
  if (scala > 0) valori *= scala;
  const Eigen::Matrix3d direzioni = solver.eigenvectors();
  if (!valori.allFinite() || !direzioni.allFinite())
    return Errore(QStringLiteral("the principal values of eigen.inp lie beyond the range of numbers"));
  QString out;
  for (int i = 0; i < 3; ++i) out += Numero(valori(i)) + QStringLiteral("\r\n");
  for (int i = 0; i < 3; ++i) {
    const Eigen::Vector3d v = direzioni.col(i);
    out += Numero(v(0)) + QLatin1Char(' ') + Numero(v(1)) + QLatin1Char(' ') + Numero(v(2)) + QStringLiteral("\r\n");
  }
  // Saved as every file of the suite: whole or not at all (a cut number would be read as another value), never
  // through a symbolic link, never into a pipe or a device at the name.
  const QString uscita = cartella + QStringLiteral("/eigen.out");
  if (!plat::WriteWholeFile(uscita, out.toLatin1()))
    return Errore(QStringLiteral("eigen.out cannot be written in %1").arg(cartella));
  return 0;
}
