// The preview of a report document: the window Form1 shows the document as a list of text lines (List1), columns
// and alignment made with blanks measured in the window's font. AnteprimaDocumento is the driver,
// MostraRigaAnteprima the renderer.
#pragma once

#include "common/platform/forms.h"

#include <QFontMetricsF>
#include <QString>

#include <functional>
#include <optional>

class QListWidget;

class Form1 : public plat::Form {
  Q_OBJECT
 public:
  Form1();

  QListWidget* List1 = nullptr;

  // Widths in points, measured in the window's font: a text, and the window's outer width.
  double LarghezzaTesto(const QString& testo) const;
  double LarghezzaFinestra() const;

  // Adds the lines at the end of the list; `larghezza` is the width of the widest of them in points. Every line
  // of the list takes the place of the widest one shown so far, so that the list lays out its lines without
  // measuring them: a preview added below a long list costs what it adds.
  void AggiungiRighe(const QStringList& righe, double larghezza);
  // The width in pixels that every line of the list takes.
  int LarghezzaRighe() const { return larghezzaRighe_; }

  void List1_DblClick();
  void List1_KeyPress(int tasto);

 protected:
  void Form_Load();
  void changeEvent(QEvent* event) override;
  void Form_Resize();
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* oggetto, QEvent* evento) override;

 private:
  mutable std::optional<QFontMetricsF> misure_;  // of the window's font, made on first use
  mutable double puntiPerPixel_ = 0;
  int larghezzaRighe_ = 0;
};

// The loaded preview window, loading it when it is not loaded.
Form1* CaricaForm1();

// Shows the preview window (modeless; the main window stays usable) and appends the document's lines to it.
// Nothing happens when the document does not exist. A window still open from an earlier preview gets the new
// lines below the old ones.
void AnteprimaDocumento(const QString& percorso);

// `testo` followed by as many characters `c` as it takes for `testo` & `coda` to measure at least `limite` by
// `larghezza` (the blanks of an aligned line, the leader dots of a list). None when the character measures 0 wide,
// so the padding always ends, whatever the font.
QString RiempiFinoA(QString testo, QChar c, const QString& coda, double limite,
                    const std::function<double(const QString&)>& larghezza);

// The preview renderer's line procedure (the line is trimmed in place).
void MostraRigaAnteprima(QString& riga);
// The end of the document file: a document without "#ENDDOCUMENT" gets its footer.
void FineDocumentoAnteprima();

// A fresh renderer state (for tests: the header and footer carry over from one preview to the next).
void AzzeraAnteprima();
