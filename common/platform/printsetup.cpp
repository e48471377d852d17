#include "common/platform/printsetup.h"

#include "common/platform/files.h"
#include "common/platform/printdc.h"
#include "common/platform/ui.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QMap>
#include <QPageLayout>
#include <QPageSize>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QPrinter>
#include <QUrl>

#include <cmath>

namespace plat {

namespace {

constexpr char kVariabile[] = "FRATTIX_PRINT_SETUP";

// The settings chosen on `printer` as one text: items "key=value" joined by "&", each value percent-encoded.
QByteArray DescriviImpostazione(const QPrinter& printer) {
  const QPageLayout layout = printer.pageLayout();
  const QMarginsF m = layout.margins(QPageLayout::Point);
  const QSizeF foglio = layout.pageSize().size(QPageSize::Point);
  const bool pdf = printer.outputFormat() == QPrinter::PdfFormat;
  const QList<std::pair<QByteArray, QString>> voci = {
      {"output", pdf ? QStringLiteral("pdf") : QStringLiteral("printer")},
      {"printer", pdf ? QString() : printer.printerName()},
      {"file", pdf ? ChosenPdfFile() : QString()},
      {"paper", QString::number(static_cast<int>(layout.pageSize().id()))},
      {"width", QString::number(foglio.width(), 'g', 17)},
      {"height", QString::number(foglio.height(), 'g', 17)},
      {"orientation", QString::number(static_cast<int>(layout.orientation()))},
      {"margins", QStringLiteral("%1,%2,%3,%4").arg(m.left(), 0, 'g', 17).arg(m.top(), 0, 'g', 17)
                      .arg(m.right(), 0, 'g', 17).arg(m.bottom(), 0, 'g', 17)}};
  QByteArrayList parti;
  for (const auto& [chiave, valore] : voci) parti << chiave + '=' + QUrl::toPercentEncoding(valore);
  return parti.join('&');
}

QMap<QString, QString> LeggiImpostazione(const QByteArray& testo) {
  QMap<QString, QString> voci;
  for (const QByteArray& parte : testo.split('&')) {
    const qsizetype uguale = parte.indexOf('=');
    if (uguale > 0) voci.insert(QString::fromLatin1(parte.left(uguale)), QUrl::fromPercentEncoding(parte.mid(uguale + 1)));
  }
  return voci;
}

}  // namespace

bool PrinterSetupDialog(const QString& title,
                        const std::function<OutputFileCheck(const QString& file)>& checkOutputFile) {
  // The set-up works on the program's printer itself: the printer, the paper and the output file chosen are what
  // the later print jobs use, and a second set-up starts from the first one's choice. Printing to a file shows the
  // file chosen before, else the folder the PDF files go to.
  QPrinter& printer = PrinterDevice();
  if (printer.outputFormat() == QPrinter::PdfFormat)
    printer.setOutputFileName(ChosenPdfFile().isEmpty() ? PdfFolder() + QLatin1Char('/') : ChosenPdfFile());
  QPrintDialog dialog(&printer, QApplication::activeWindow());
  dialog.setObjectName(QStringLiteral("PrintSetup"));
  dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
  if (!title.isEmpty()) dialog.setWindowTitle(title);
  // The dialog only sets the printer up: its confirming button says OK, not "Print".
  for (QDialogButtonBox* box : dialog.findChildren<QDialogButtonBox*>()) {
    QPushButton* ok = box->button(QDialogButtonBox::Ok);
    if (!ok) continue;
    ok->setText(QCoreApplication::translate("QPlatformTheme", "OK"));
    // The output file is looked at before the dialog's own check, which opens the name to append to it: that waits
    // for ever on a named pipe and goes through a symbolic link.
    auto* nome = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
    if (!checkOutputFile || !nome ||
        !QObject::disconnect(box, SIGNAL(accepted()), &dialog, SLOT(_q_checkFields())))
      continue;
    QObject::connect(box, &QDialogButtonBox::accepted, &dialog, [&dialog, nome, &checkOutputFile] {
      QString file = nome->text();
      if (nome->isEnabled() && !file.isEmpty()) {
        // A relative name is taken in the home folder, as the dialog takes it.
        if (QDir::isRelativePath(file)) file = QDir::homePath() + QLatin1Char('/') + file;
        switch (checkOutputFile(file)) {
          case OutputFileCheck::Refused: return;
          case OutputFileCheck::Confirmed: dialog.accept(); return;
          case OutputFileCheck::Unchecked: break;
        }
      }
      QMetaObject::invokeMethod(&dialog, "_q_checkFields");
    });
  }
  bool accepted = false;
  QObject::connect(&dialog, &QDialog::accepted, [&accepted] { accepted = true; });
  ShowModal(&dialog);
  if (accepted) {
    // A file chosen as the output takes every later print job to PDF; a printer chosen takes them from it.
    const QString file = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
    SetChosenPdfFile(file.isEmpty() || FolderExists(file) ? QString() : file);
    // The programs started from now on print with the same choice.
    qputenv(kVariabile, DescriviImpostazione(printer));
  }
  return accepted;
}

void TakeHandedOverSetup(QPrinter& printer) {
  const QByteArray testo = qgetenv(kVariabile);
  if (testo.isEmpty()) return;
  const QMap<QString, QString> voci = LeggiImpostazione(testo);
  if (voci.value(QStringLiteral("output")) == QLatin1String("pdf")) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString file = voci.value(QStringLiteral("file"));
    SetChosenPdfFile(file.isEmpty() || FolderExists(file) ? QString() : file);
  } else if (voci.value(QStringLiteral("output")) == QLatin1String("printer")) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(voci.value(QStringLiteral("printer")));
    if (info.isNull()) return;  // a printer this system does not have: its own printer stays
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(info.printerName());
  } else {
    return;
  }
  // The paper: its size (by its standard name, else its measures in points), orientation and margins in points.
  bool ok = true;
  const auto numero = [&ok](const QString& testo) {
    bool letto = false;
    const double v = testo.toDouble(&letto);
    ok = ok && letto && std::isfinite(v);
    return v;
  };
  const double carta = numero(voci.value(QStringLiteral("paper")));
  const QSizeF foglio(numero(voci.value(QStringLiteral("width"))), numero(voci.value(QStringLiteral("height"))));
  const double orientamento = numero(voci.value(QStringLiteral("orientation")));
  const QStringList margini = voci.value(QStringLiteral("margins")).split(QLatin1Char(','));
  ok = ok && margini.size() == 4;
  const QMarginsF m = ok ? QMarginsF(numero(margini[0]), numero(margini[1]), numero(margini[2]), numero(margini[3]))
                         : QMarginsF();
  if (!ok || carta < 0 || carta > static_cast<int>(QPageSize::LastPageSize) || carta != std::floor(carta) || !(foglio.width() > 0) ||
      !(foglio.height() > 0))
    return;
  const auto id = static_cast<QPageSize::PageSizeId>(static_cast<int>(carta));
  const QPageSize pagina = id == QPageSize::Custom ? QPageSize(foglio, QPageSize::Point) : QPageSize(id);
  printer.setPageLayout(QPageLayout(pagina, orientamento == static_cast<int>(QPageLayout::Landscape) ? QPageLayout::Landscape
                                                                                 : QPageLayout::Portrait,
                                    m, QPageLayout::Point));
}

}  // namespace plat
