#include "tests/docexport/lettura.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QProcess>
#include <QUrl>

namespace docexport_test {

QJsonArray LeggiDocx(const QString& percorso, QString* errore) {
  QProcess p;
  p.start(QStringLiteral("/usr/bin/python3"),
          {QStringLiteral(FRATTIX_TEST_SOURCE_DIR "/tests/docexport/docx_lettura.py"), percorso});
  p.waitForFinished(60000);
  const QByteArray uscita = p.readAllStandardOutput();
  QJsonParseError e{};
  const QJsonDocument d = QJsonDocument::fromJson(uscita, &e);
  if (p.exitCode() != 0 || e.error != QJsonParseError::NoError || !d.isArray()) {
    if (errore) *errore = QString::fromUtf8(uscita + p.readAllStandardError());
    return {};
  }
  return d.array();
}

QJsonArray Tabelle(const QJsonArray& corpo) {
  QJsonArray out;
  for (const auto& b : corpo)
    if (b.toObject().contains(QStringLiteral("table"))) out.append(b);
  return out;
}

QJsonArray Paragrafi(const QJsonArray& corpo) {
  QJsonArray out;
  for (const auto& b : corpo)
    if (b.toObject().contains(QStringLiteral("p"))) out.append(b);
  return out;
}

QList<QStringList> Testi(const QJsonObject& tabella) {
  QList<QStringList> righe;
  for (const auto& r : tabella.value(QStringLiteral("table")).toArray()) {
    QStringList riga;
    for (const auto& c : r.toArray()) riga << c.toObject().value(QStringLiteral("t")).toString();
    righe << riga;
  }
  return righe;
}

QString ConvertiConLibreOffice(const QString& percorso, const QString& formato, const QString& cartella,
                               QString* errore) {
  QDir().mkpath(cartella);
  const QString profilo = QUrl::fromLocalFile(cartella + QStringLiteral("/profilo")).toString();
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/local/bin:/usr/bin:/bin"));  // a test may narrow PATH
  p.setProcessEnvironment(env);
  p.start(QStringLiteral("/usr/bin/soffice"),
          {QStringLiteral("-env:UserInstallation=") + profilo, QStringLiteral("--headless"),
           QStringLiteral("--convert-to"), formato == QLatin1String("txt") ? QStringLiteral("txt:Text (encoded):UTF8")
                                                                           : formato,
           QStringLiteral("--outdir"), cartella, percorso});
  const bool finito = p.waitForFinished(180000);
  const QString uscita = QString::fromLocal8Bit(p.readAll());
  const QString risultato = cartella + QLatin1Char('/') + QFileInfo(percorso).completeBaseName() +
                            QLatin1Char('.') + formato;
  if (!finito || !QFileInfo::exists(risultato)) {
    if (errore) *errore = uscita;
    return {};
  }
  return risultato;
}

}  // namespace docexport_test
