// EIGEN: principal values and directions of a symmetric 3 x 3 matrix. Reads eigen.inp (three lines of three
// numbers) from the program folder and writes eigen.out there: the three values, then one line per direction
// (x y z), in the same order as the values.
#include <Eigen/Dense>

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <cmath>
#include <cstdio>

namespace {

QString Numero(double v) { return QString::number(v, 'g', 15); }

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QString cartella = QCoreApplication::applicationDirPath();
  QFile in(cartella + QStringLiteral("/eigen.inp"));
  if (!in.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "EIGEN: eigen.inp cannot be read in %s\n", qPrintable(cartella));
    return 1;
  }
  QString testo = QString::fromLatin1(in.readAll());
  testo.replace(QLatin1Char(','), QLatin1Char(' '));
  const QStringList parti = testo.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
  if (parti.size() < 9) {
    std::fprintf(stderr, "EIGEN: eigen.inp holds %d numbers, 9 are needed\n", static_cast<int>(parti.size()));
    return 1;
  }
  Eigen::Matrix3d m;
  for (int i = 0; i < 9; ++i) {
    bool ok = false;
    const double v = parti.at(i).toDouble(&ok);
    if (!ok || !std::isfinite(v)) {
      std::fprintf(stderr, "EIGEN: \"%s\" in eigen.inp is not a number\n", qPrintable(parti.at(i)));
      return 1;
    }
    m(i / 3, i % 3) = v;
  }
  // The tensor is symmetric; its mean with its transpose removes rounding differences.
  const Eigen::Matrix3d s = (m + m.transpose()) / 2;
  Eigen::SelfAdjointEigenSolver<Eigen::Matrix3d> solver(s);
  if (solver.info() != Eigen::Success) {
    std::fprintf(stderr, "EIGEN: no solution\n");
    return 1;
  }
  QString out;
  for (int i = 0; i < 3; ++i) out += Numero(solver.eigenvalues()(i)) + QStringLiteral("\r\n");
  for (int i = 0; i < 3; ++i) {
    const Eigen::Vector3d v = solver.eigenvectors().col(i);
    out += Numero(v(0)) + QLatin1Char(' ') + Numero(v(1)) + QLatin1Char(' ') + Numero(v(2)) + QStringLiteral("\r\n");
  }
  QFile f(cartella + QStringLiteral("/eigen.out"));
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(out.toLatin1()) < 0) {
    std::fprintf(stderr, "EIGEN: eigen.out cannot be written in %s\n", qPrintable(cartella));
    return 1;
  }
  return 0;
}
