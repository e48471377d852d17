#include "main/reports/anteprima.h"

#include "common/markup/documento.h"
#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "main/session/sessione.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPointer>
#include <QScreen>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

QPointer<Form1>& FormCaricato() {
  static QPointer<Form1> form;
  return form;
}

double PuntiDaPixel(double pixel, const QWidget* w) { return pixel * 72.0 / std::max(1, w->logicalDpiX()); }

// Every line of the preview's list as wide as the widest line added (the list lays out no line by measuring it) and
// as high as one line of the font, with the margins the list's own lines have.
class RigaUniforme : public QStyledItemDelegate {
 public:
  explicit RigaUniforme(Form1* form) : QStyledItemDelegate(form), form_(form) {}
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    if (altezza_ < 0) {
      const QSize misura = QStyledItemDelegate::sizeHint(option, index);
      altezza_ = misura.height();
      margine_ = std::max(0, misura.width() - static_cast<int>(std::ceil(
                                                  option.fontMetrics.horizontalAdvance(index.data().toString()))));
    }
    return {form_->LarghezzaRighe() + margine_ + 2, altezza_};
  }

 private:
  Form1* form_;
  mutable int altezza_ = -1, margine_ = 0;
};

class RendererAnteprima : public InterpreteDocumento {
 public:
  // "#TABSTYLE" ends a table's collecting (the tab style itself is not used); "#FONTITALIC" does not.
  RendererAnteprima() : InterpreteDocumento(LimitiDocumento::ProgrammaPrincipale(), RegoleModo{true, false}) {}

 protected:
  void ApriDocumento(const ArgomentoReset&) override {
    Form1* f = CaricaForm1();
    disponibile_ = std::floor(f->LarghezzaFinestra() - kPuntiPerCentimetro);
    conteggio_ = 0;
  }
  void ScriviTesto(const QString& riga) override {
    if (conteggio_ == 0) MostraIntestazione();
    ++conteggio_;
    double x = 0;
    if (Allineamento() == 1) x = (disponibile_ - W(riga)) / 2;
    else if (Allineamento() == 2) x = disponibile_ - W(riga);
    Aggiungi(Spazi(x) + riga);
  }
  void ScriviTabella(const TabellaDocumento& t) override {
    const double u = kPuntiPerCentimetro;
    const int m = t.colonne;
    // The width of every cell of the whole table, measured once with its first part; the width of a row is the
    // sum of the widths of its pieces (blanks, dots and cells), so long rows are never measured whole. The column
    // widths are the widest cells of the whole table: its later parts keep them.
    if (!t.continuazione) {
      const std::vector<QStringList>& tutte = t.tutte ? *t.tutte : t.celle;
      misure_.assign(tutte.size(), std::vector<double>(static_cast<std::size_t>(m)));
      larghezza_.assign(static_cast<std::size_t>(m), 0.0);
      for (std::size_t r = 0; r < tutte.size(); ++r)
        for (int c = 0; c < m; ++c) {
          misure_[r][c] = W(tutte[r].at(c));
          larghezza_[c] = std::max(larghezza_[c], misure_[r][c]);
        }
      if (t.lista && m > 0) larghezza_[0] += 0.5 * u;
      totale_ = 0;
      for (double l : larghezza_) totale_ += l + 0.5 * u;
      prossima_ = 0;
    }
    const std::vector<double>& larghezza = larghezza_;
    const double totale = totale_;
    if (conteggio_ == 0) MostraIntestazione();
    ++conteggio_;
    // A table wider than the text area starts at its left edge: a start to the left of it would end every cell
    // short of its column, and the columns would run into each other.
    double x0 = 0;
    if (Allineamento() == 1) x0 = std::max(0.0, (disponibile_ - totale) / 2);
    else if (Allineamento() == 2) x0 = std::max(0.0, disponibile_ - totale);
    const QString inizio = Spazi(x0);
    const double larghezzaInizio = W(inizio);
    const double spazio = W(QStringLiteral(" "));
    QStringList righe;
    righe.reserve(static_cast<qsizetype>(t.celle.size()));
    double larghezzaRighe = 0;
    for (std::size_t r = 0; r < t.celle.size(); ++r) {
      // The row's place among the rows of the whole table: a repeated head row is its first.
      const std::size_t k = r == 0 && t.testaRipetuta ? 0 : prossima_++;
      const auto misura = [&](int c) { return k < misure_.size() ? misure_[k][c] : W(t.celle[r].at(c)); };
      QString testo = inizio;
      double wTesto = larghezzaInizio;
      double x = x0;
      for (int c = 0; c < m; ++c) {
        const QString& cella = t.celle[r].at(c);
        if (t.lista && c == 0) {
          // The label, a blank and leader dots up to the width of the labels' column.
          const QString etichetta = Riempi(cella + QLatin1Char(' '), QLatin1Char('.'), QString(), larghezza[0]);
          testo += etichetta;
          wTesto += W(etichetta);
        } else {
          // Blanks until the row and the cell reach the cell's right edge: 0.25 cm short of the column's end in a
          // list, 0.25 cm beyond the column's width in a table (every table cell is right-aligned).
          const double fine = t.lista ? x + larghezza[c] - 0.25 * u : x + larghezza[c] + 0.25 * u;
          const double mancante = fine - wTesto - misura(c);
          const qsizetype n = spazio > 0 && mancante > 0
                                  ? static_cast<qsizetype>(std::min(std::ceil(mancante / spazio - 1e-9), 100000.0))
                                  : 0;
          testo += QString(n, QLatin1Char(' ')) + cella;
          wTesto += static_cast<double>(n) * spazio + misura(c);
        }
        x += larghezza[c] + 0.5 * u;
      }
      righe << testo;
      larghezzaRighe = std::max(larghezzaRighe, wTesto);
    }
    CaricaForm1()->AggiungiRighe(righe, larghezzaRighe);
  }
  bool ChiudiDocumento() override {
    Aggiungi(QString());
    Aggiungi(Spazi((disponibile_ - W(PiePagina())) / 2) + PiePagina());
    return true;
  }

 private:
  double W(const QString& s) const { return CaricaForm1()->LarghezzaTesto(s); }

  void Aggiungi(const QString& voce) { CaricaForm1()->AggiungiRighe({voce}, W(voce)); }

  void MostraIntestazione() {
    Aggiungi(Spazi((disponibile_ - W(Intestazione())) / 2) + Intestazione());
    Aggiungi(QString());
  }

  QString Spazi(double x) const { return Riempi(QString(), QLatin1Char(' '), QString(), x); }

  QString Riempi(const QString& testo, QChar c, const QString& coda, double limite) const {
    return RiempiFinoA(testo, c, coda, limite, [this](const QString& s) { return W(s); });
  }

  double disponibile_ = 0;  // W: the width that alignment works in, in points
  int conteggio_ = 0;       // text lines, tables and lists shown in the current document
  std::vector<std::vector<double>> misure_;  // the widths of the cells of the table or list being shown
  std::vector<double> larghezza_;            // its column widths
  double totale_ = 0;                        // its width: the columns and the gaps between them
  std::size_t prossima_ = 0;                 // its next row to be shown
};

std::unique_ptr<RendererAnteprima>& Renderer() {
  static std::unique_ptr<RendererAnteprima> r = std::make_unique<RendererAnteprima>();
  return r;
}

}  // namespace

QString RiempiFinoA(QString testo, QChar c, const QString& coda, double limite,
                    const std::function<double(const QString&)>& larghezza) {
  const double w = larghezza(testo + coda);
  if (!(w < limite)) return testo;
  const double wc = larghezza(QString(c));
  if (!(wc > 0)) return testo;
  // Most of the run at once, then one character at a time, never more characters than the limit can take.
  const double stima = std::floor((limite - w) / wc) - 1;
  if (stima > 0) testo += QString(static_cast<qsizetype>(std::min(stima, 100000.0)), c);
  // Each character must widen the text; one that does not would never reach the limit.
  double prima = -1;
  for (;;) {
    const double adesso = larghezza(testo + coda);
    if (!(adesso < limite) || !(adesso > prima)) break;
    prima = adesso;
    testo += c;
  }
  return testo;
}

Form1::Form1() : plat::Form(QStringLiteral("Form1")) {
  setWindowFlags(Qt::Window);
  setWindowTitle(QStringLiteral("Form1"));
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(8.25);
  font.setWeight(QFont::Bold);
  setFont(font);
  List1 = new QListWidget(this);
  List1->setObjectName(QStringLiteral("List1"));
  List1->setUniformItemSizes(true);
  List1->setItemDelegate(new RigaUniforme(this));
  List1->move(0, 0);
  List1->installEventFilter(this);
  connect(List1, &QListWidget::itemDoubleClicked, this, [this] { List1_DblClick(); });
  Form_Load();
}

void Form1::Form_Load() {
  const QScreen* schermo = QGuiApplication::primaryScreen();
  const QRect area = schermo ? schermo->geometry() : QRect(0, 0, 800, 600);
  move(0, 0);
  resize(area.size());
  Form_Resize();
}

void Form1::Form_Resize() {
  // 120 twips (1/12 inch) narrower than the window, as high as it.
  const int margine = static_cast<int>(std::lround(logicalDpiX() / 12.0));
  List1->resize(std::max(0, width() - margine), height());
}

void Form1::resizeEvent(QResizeEvent* event) {
  plat::Form::resizeEvent(event);
  Form_Resize();
}

bool Form1::eventFilter(QObject* oggetto, QEvent* evento) {
  if (oggetto == List1 && evento->type() == QEvent::KeyPress) {
    const auto* tasto = static_cast<QKeyEvent*>(evento);
    if (tasto->key() == Qt::Key_Escape) {
      List1_KeyPress(27);
      return true;
    }
  }
  return plat::Form::eventFilter(oggetto, evento);
}

void Form1::List1_DblClick() { Unload(); }

void Form1::List1_KeyPress(int tasto) {
  if (tasto == 27) Unload();
}

double Form1::LarghezzaTesto(const QString& testo) const {
  if (!misure_) {
    misure_.emplace(font(), this);
    puntiPerPixel_ = PuntiDaPixel(1.0, this);
  }
  return misure_->horizontalAdvance(testo) * puntiPerPixel_;
}

void Form1::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange || event->type() == QEvent::ScreenChangeInternal) misure_.reset();
  plat::Form::changeEvent(event);
}

double Form1::LarghezzaFinestra() const { return PuntiDaPixel(frameGeometry().width(), this); }

void Form1::AggiungiRighe(const QStringList& righe, double larghezza) {
  LarghezzaTesto(QString());  // the scale of the window's font
  if (puntiPerPixel_ > 0 && std::isfinite(larghezza))
    larghezzaRighe_ = std::max(larghezzaRighe_, static_cast<int>(std::ceil(std::min(larghezza / puntiPerPixel_, 1e7))));
  List1->addItems(righe);
}

Form1* CaricaForm1() {
  QPointer<Form1>& f = FormCaricato();
  if (!f || f->Unloaded()) f = new Form1();
  return f;
}

void MostraRigaAnteprima(QString& riga) { Renderer()->Riga(riga); }

void FineDocumentoAnteprima() { Renderer()->FineFile(); }

void AzzeraAnteprima() { Renderer() = std::make_unique<RendererAnteprima>(); }

void AnteprimaDocumento(const QString& percorso) {
  plat::SeqReader r;
  if (!ApriInLettura(r, percorso)) return;
  Form1* f = CaricaForm1();
  if (!f->isVisible()) plat::ShowModeless(f);
  else f->raise();
  QString riga;
  while (r.ReadLine(riga)) MostraRigaAnteprima(riga);
  FineDocumentoAnteprima();
}
