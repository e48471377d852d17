// EIGEN: principal values and directions of a symmetric 3 x 3 matrix. Reads eigen.inp from the program folder and
// writes eigen.out there, by the rules of every save: the three values, then one line per direction (x y z), in the
// same order as the values.
// eigen.inp is a regular file of exactly three lines (ended by CR LF or LF, the last line end optional), each of
// exactly three finite numbers separated by blanks or TABs, that make a symmetric matrix (entry (i, j) equal to
// entry (j, i) within a billionth of the largest entry, the rounding of the nine significant digits the tensor is
// handed over with). Any other input, or values beyond the range of numbers, ends the program with exit code 1 and
// one line on the standard error; eigen.out is then not written.
#include "common/platform/files.h"

#include <Eigen/Dense>

#include <QByteArray>
#include <QByteArrayList>
#include <QCoreApplication>
#include <QFile>
#include <QString>

#include <cmath>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Far more than three lines of three numbers need, however they are written.
constexpr qint64 kMassimoByte = 64 * 1024;

QString Numero(double v) { return QString::number(v, 'g', 15); }

int Errore(const QString& testo) {
  std::fprintf(stderr, "EIGEN: %s\n", qPrintable(testo));
  return 1;
}

// The bytes of a regular file, at most kMassimoByte + 1. The file is opened without waiting, so that a named pipe
// in its place is refused at once instead of waiting for a writer. False, with the reason in `errore`, otherwise.
bool LeggiFileRegolare(const QString& percorso, QByteArray& testo, QString& errore) {
  const int fd = ::open(QFile::encodeName(percorso).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    errore = QStringLiteral("%1 cannot be read").arg(percorso);
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    errore = QStringLiteral("%1 is not a regular file").arg(percorso);
    return false;
  }
  QFile f;
  if (!f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    errore = QStringLiteral("%1 cannot be read").arg(percorso);
    return false;
  }
  testo = f.read(kMassimoByte + 1);
  if (f.error() != QFileDevice::NoError) {
    errore = QStringLiteral("%1 cannot be read").arg(percorso);
    return false;
  }
  if (testo.size() > kMassimoByte) {
    errore = QStringLiteral("%1 is larger than %2 bytes").arg(percorso).arg(kMassimoByte);
    return false;
  }
  return true;
}

// The matrix of the text: three lines of three finite numbers. False, with the reason in `errore`, otherwise.
bool LeggiMatrice(const QByteArray& testo, Eigen::Matrix3d& m, QString& errore) {
  QByteArrayList righe = testo.split('\n');
  if (testo.endsWith('\n')) righe.removeLast();
  if (righe.size() != 3) {
    errore = QStringLiteral("eigen.inp holds %1 lines, 3 are needed").arg(righe.size());
    return false;
  }
  for (int i = 0; i < 3; ++i) {
    QByteArray riga = righe.at(i);
    if (riga.endsWith('\r')) riga.chop(1);
    const QByteArrayList parti = riga.replace('\t', ' ').split(' ');
    QByteArrayList numeri;
    for (const QByteArray& p : parti)
      if (!p.isEmpty()) numeri << p;
    if (numeri.size() != 3) {
      errore = QStringLiteral("line %1 of eigen.inp holds %2 items, 3 numbers are needed")
                   .arg(i + 1)
                   .arg(numeri.size());
      return false;
    }
    for (int j = 0; j < 3; ++j) {
      bool ok = false;
      const double v = numeri.at(j).toDouble(&ok);
      if (!ok || !std::isfinite(v)) {
        errore = QStringLiteral("\"%1\" on line %2 of eigen.inp is not a finite number")
                     .arg(QString::fromLatin1(numeri.at(j)))
                     .arg(i + 1);
        return false;
      }
      m(i, j) = v;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  plat::CheckTemporaryFolder();
  QCoreApplication app(argc, argv);
  const QString cartella = QCoreApplication::applicationDirPath();
  QByteArray testo;
  QString errore;
  Eigen::Matrix3d m;
  if (!LeggiFileRegolare(cartella + QStringLiteral("/eigen.inp"), testo, errore) || !LeggiMatrice(testo, m, errore))
    return Errore(errore);
  // The tensor is symmetric; its mean with its transpose removes rounding differences. The matrix is first
  // brought to entries of at most 1, so that no finite entry overflows in the sum; the values are scaled back. A
  // matrix that is not symmetric is no conductivity tensor: its mean would be another matrix, whose principal values
  // would be taken for those of the input.
  const double scala = m.cwiseAbs().maxCoeff();
  if (scala > 0) m /= scala;
  for (int i = 0; i < 3; ++i)
    for (int j = i + 1; j < 3; ++j)
      if (!(std::fabs(m(i, j) - m(j, i)) <= 1e-9))
        return Errore(QStringLiteral("eigen.inp is not symmetric: entries (%1, %2) and (%2, %1) differ")
                          .arg(i + 1)
                          .arg(j + 1));
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
