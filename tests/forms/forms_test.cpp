// Every form of the suite in every language of the text tables, on the screen of the run: the default screen here,
// and through RunOnScreen screens scaled by 1.5 and by 2 and fonts at 144 dots per inch. The main program's forms
// are opened by its own commands on the example session, with the values they hold; the other programs' forms are
// made as their programs make them. On each form:
// - no label's, button's, option's or frame's text is wider (or, wrapped, higher) than the room it has;
// - no control lies outside its form or frame, and no text lies under another control beside it;
// - every numeric field holds the values at the ends of its range, every text field the text it opens with, every
//   drop-down list its longest entry, every column of a grid its heading and its widest value;
// - every picture is drawn in the pixels of the screen.
// The room of a text is where the control draws it: the rectangle and flags its own painting hands its style, laid
// out as the painter lays them out; a field shows a value whole when it does not scroll it to show its end.
#include "cluster/interattiva.h"
#include "cluster/workform.h"
#include "common/data/risultato.h"
#include "common/platform/forms.h"
#include "common/platform/picturebox.h"
#include "common/platform/ui.h"
#include "common/plot/grafica.h"
#include "common/texts/avvio.h"
#include "common/texts/finestre.h"
#include "common/texts/testi.h"
#include "main/dialogs/base2_32.h"
#include "main/dialogs/maschera.h"
#include "main/reports/confstampa.h"
#include "main/session/menu1.h"
#include "tests/support/scripted.h"
#include "tests/support/support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QRadioButton>
#include <QProxyStyle>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleFactory>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <optional>

using testing_support::Scripted;
using testing_support::TestFolder;
using testing_support::WriteAnsi;

namespace {

// The style a control is painted with while it is looked at: it draws as the application's style does (a style of
// the same kind, made for the control) and keeps what the control hands its style to draw a text with, the
// rectangle, the flags and the font, and where a line edit's style puts its text. What a control needs is thus
// taken from its own painting, never from a measure of the code that lays it out.
class Registro : public QProxyStyle {
 public:
  Registro() : QProxyStyle(QStyleFactory::create(NomeStile())) {}

  struct Testo {
    QRect rettangolo;
    int flags;
    QString testo;
    QFont font;
    std::optional<QRectF> taglio;  // the painter's clip, when it clips
  };
  mutable std::vector<Testo> testi;
  mutable std::optional<QRect> campo;

  void drawItemText(QPainter* p, const QRect& r, int flags, const QPalette& tavolozza, bool attivo,
                    const QString& testo, QPalette::ColorRole ruolo) const override {
    testi.push_back({r, flags, testo, p->font(),
                     p->hasClipping() ? std::optional<QRectF>(p->clipBoundingRect()) : std::nullopt});
    QProxyStyle::drawItemText(p, r, flags, tavolozza, attivo, testo, ruolo);
  }
  QRect subElementRect(SubElement e, const QStyleOption* o, const QWidget* w) const override {
    const QRect r = QProxyStyle::subElementRect(e, o, w);
    if (e == SE_LineEditContents) campo = r;
    return r;
  }

 private:
  // The kind of the application's style, beneath the suite's own adjustments.
  static QString NomeStile() {
    QStyle* s = QApplication::style();
    while (auto* p = qobject_cast<QProxyStyle*>(s)) s = p->baseStyle();
    return s->name();
  }
};

// A control painted once with the recording style, which is taken away again.
std::unique_ptr<Registro> Dipingi(QWidget* w) {
  auto r = std::make_unique<Registro>();
  w->setStyle(r.get());
  w->grab();
  w->setStyle(nullptr);
  return r;
}

// Where a text drawn into a rectangle with those flags lies, as the painter lays it out.
QRectF Occupa(const QWidget* w, const Registro::Testo& t, const QString& testo) {
  return QFontMetricsF(t.font, w).boundingRect(QRectF(t.rettangolo), t.flags, testo);
}

int Su(double v) { return static_cast<int>(std::ceil(v - 1e-6)); }

// Whether a line edit shows a text whole: with the cursor after it, the field does not scroll it. The field is
// painted with the cursor at the end (the paint scrolls the text as far as the cursor needs) and the place of the
// text's start then read, before and after the field is painted again with the cursor at the start. The number of
// pixels the text was scrolled by, 0 when it shows whole. The field gets back its text and cursor.
int Scorrimento(QLineEdit* e, const QString& testo) {
  const QSignalBlocker zitto(e);
  const QString prima = e->text();
  const int cursore = e->cursorPosition();
  e->setText(testo);
  e->end(false);
  e->grab();
  e->setCursorPosition(0);
  const int scorso = e->inputMethodQuery(Qt::ImCursorRectangle).toRect().x();
  e->grab();
  const int fermo = e->inputMethodQuery(Qt::ImCursorRectangle).toRect().x();
  e->setText(prima);
  e->setCursorPosition(cursore);
  return fermo - scorso;
}

int Larghezza(const QWidget* w, const QString& testo) {
  return Su(QFontMetricsF(w->font(), w).horizontalAdvance(testo));
}

// The values at the ends of the range of a numeric field, with three decimals as a user types them.
QStringList Estremi(double minimo, double massimo) {
  return {QString::number(minimo, 'f', 3), QString::number(massimo, 'f', 3)};
}

class Esame {
 public:
  Esame(QString dove, QStringList& guasti) : dove_(std::move(dove)), guasti_(guasti) {}

  // The numeric fields of the form by object name, with the widest values each takes.
  std::map<QString, QStringList> numerici;

  void Controlla(QWidget* form) {
    const QString nomeForm = form->objectName();
    for (QWidget* w : form->findChildren<QWidget*>()) {
      if (w->isWindow() || !w->isVisibleTo(form)) continue;
      QWidget* padre = w->parentWidget();
      // Only the controls laid out on the form or in its frames: the inner parts of lists, grids and fields are
      // the business of their owners.
      if (padre != form && !qobject_cast<QGroupBox*>(padre)) continue;
      const QString chi = nomeForm + "." + w->objectName();
      if (!padre->rect().contains(w->geometry()))
        Guasto(chi, QString("lies outside its %1 (%2 in %3 x %4)")
                        .arg(padre == form ? "form" : "frame")
                        .arg(Rettangolo(w->geometry()))
                        .arg(padre->width())
                        .arg(padre->height()));
      std::optional<QRect> testo;  // where the control's text is drawn, in its parent
      if (auto* l = qobject_cast<QLabel*>(w)) {
        testo = Etichetta(chi, l);
      } else if (qobject_cast<QPushButton*>(w)) {
        if (const auto t = UnTesto(chi, w)) Dentro(chi, w, *t, t->rettangolo);
        testo = w->geometry();
      } else if (qobject_cast<QRadioButton*>(w) || qobject_cast<QCheckBox*>(w)) {
        // The indicator and the text beside it.
        if (const auto t = UnTesto(chi, w)) {
          const QRectF occupa = Dentro(chi, w, *t, t->rettangolo);
          testo = QRect(w->pos(), QSize(Su(occupa.right()), w->height()));
        }
      } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        if (!g->title().isEmpty())
          if (const auto t = UnTesto(chi, w)) Dentro(chi, w, *t, t->rettangolo);
      } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
        Campo(chi, e);
      } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        Elenco(chi, c);
      } else if (auto* t = qobject_cast<QTableWidget*>(w)) {
        Griglia(chi, t);
      } else if (auto* p = qobject_cast<plat::PictureBox*>(w)) {
        if (!p->Picture().isNull() && p->Picture().devicePixelRatio() != plat::ScreenPixelRatio(p))
          Guasto(chi, QString("picture drawn at %1 pixels a pixel on a screen of %2")
                          .arg(p->Picture().devicePixelRatio())
                          .arg(plat::ScreenPixelRatio(p)));
      }
      if (testo) {
        // No text (and no button) under a control beside it.
        for (QWidget* s : padre->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
          if (s == w || s->isWindow() || !s->isVisibleTo(form)) continue;
          if (s->geometry().intersects(*testo))
            Guasto(chi, QString("text %1 lies under %2 %3").arg(Rettangolo(*testo), s->objectName(), Rettangolo(s->geometry())));
        }
      }
    }
  }

  void Guasto(const QString& chi, const QString& cosa) { guasti_ << dove_ + " " + chi + ": " + cosa; }

 private:
  static QString Rettangolo(const QRect& r) {
    return QString("(%1, %2, %3 x %4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
  }

  // The one text a control draws (a control whose text is not drawn as a text is a fault too).
  std::optional<Registro::Testo> UnTesto(const QString& chi, QWidget* w) {
    const auto r = Dipingi(w);
    if (r->testi.size() == 1) return r->testi.front();
    Guasto(chi, QString("draws %1 texts, not its one").arg(r->testi.size()));
    return std::nullopt;
  }

  // A text drawn where the control draws it lies across within `stanza`, the rectangle its style gave it, and
  // within the control; upright its ink shows whole, within the control and the painter's clip: where it lies.
  QRectF Dentro(const QString& chi, const QWidget* w, const Registro::Testo& t, const QRect& stanza,
                const QString& come = QString()) {
    const QString testo = come.isEmpty() ? t.testo : come;
    const QRectF occupa = Occupa(w, t, testo);
    const QRect dove = stanza.intersected(w->rect());
    if (occupa.left() < dove.left() - 1e-6 || occupa.right() > dove.left() + dove.width() + 1e-6)
      Guasto(chi, QString("\"%1\" needs %2 px from %3, has %4 from %5")
                      .arg(testo)
                      .arg(Su(occupa.width()))
                      .arg(occupa.left())
                      .arg(dove.width())
                      .arg(dove.left()));
    // Upright, what must show is the ink of its lines (each line's box holds the font's leading besides, and the
    // accents of capitals may rise above it).
    const QFontMetricsF fm(t.font, w);
    const double inchiostro = occupa.top() + fm.ascent() + fm.tightBoundingRect(testo).top();
    const double fine = occupa.bottom() - fm.height() + fm.ascent() + fm.tightBoundingRect(testo).bottom();
    const QRectF visibile = t.taglio ? t.taglio->intersected(QRectF(w->rect())) : QRectF(w->rect());
    if (inchiostro < visibile.top() - 1e-6 || fine > visibile.bottom() + 1e-6)
      Guasto(chi, QString("\"%1\" is drawn from %2 to %3, shows from %4 to %5")
                      .arg(testo)
                      .arg(inchiostro)
                      .arg(fine)
                      .arg(visibile.top())
                      .arg(visibile.bottom()));
    return occupa;
  }

  // A label's text: its room is where the label draws it; a label whose text ends in leader dots lies under the
  // field it names by design, and only its name (with the blank after it) must stay clear of the other controls.
  std::optional<QRect> Etichetta(const QString& chi, QLabel* l) {
    if (l->text().isEmpty()) return std::nullopt;
    const auto r = Dipingi(l);
    if (r->testi.size() != 1) {
      Guasto(chi, QString("draws %1 texts, not its one").arg(r->testi.size()));
      return std::nullopt;
    }
    const Registro::Testo& t = r->testi.front();
    static const QRegularExpression puntini(" \\.+$");
    const QRegularExpressionMatch m = puntini.match(t.testo);
    if (m.hasMatch()) {
      const QRectF nome = Occupa(l, t, t.testo.left(m.capturedStart()) + " .");
      return QRect(l->pos() + QPoint(Su(nome.left()), t.rettangolo.top()), QSize(Su(nome.width()), t.rettangolo.height()));
    }
    const QRectF occupa = Dentro(chi, l, t, t.rettangolo);
    if (l->wordWrap()) return std::nullopt;
    return occupa.toAlignedRect().intersected(t.rettangolo).translated(l->pos());
  }

  // A field shows its text and every widest value it takes whole, and its line of text (the font's height, which
  // the field centres in that room) fits within the room its style gives the text.
  void Campo(const QString& chi, QLineEdit* e) {
    QStringList valori;
    if (!e->text().isEmpty()) valori << e->text();
    const auto n = numerici.find(e->objectName());
    if (n != numerici.end()) valori += n->second;
    for (const QString& v : valori)
      if (const int s = Scorrimento(e, v); s != 0)
        Guasto(chi, QString("\"%1\" is scrolled by %2 px to show its end").arg(v).arg(s));
    if (valori.isEmpty()) return;
    const auto r = Dipingi(e);
    const int riga = QFontMetrics(e->font(), e).height();
    if (!r->campo || riga > r->campo->height())
      Guasto(chi, QString("its line of text is %1 px high, its text room %2")
                      .arg(riga)
                      .arg(r->campo ? Rettangolo(*r->campo) : QString("(none)")));
  }

  void Entra(const QString& chi, const QString& testo, int serve, int spazio) {
    if (serve > spazio) Guasto(chi, QString("\"%1\" needs %2 px, has %3").arg(testo).arg(serve).arg(spazio));
  }

  // A drop-down list shows every entry whole where it shows the one chosen.
  void Elenco(const QString& chi, QComboBox* c) {
    if (c->count() == 0) return;
    const QSignalBlocker zitto(c);
    const int scelto = c->currentIndex();
    if (scelto < 0) c->setCurrentIndex(0);
    const auto t = UnTesto(chi, c);
    c->setCurrentIndex(scelto);
    if (!t) return;
    for (int i = 0; i < c->count(); ++i) Dentro(chi, c, *t, t->rettangolo, c->itemText(i));
  }

  // A grid: every heading and every column's widest value (its format code, a figure for each character) within
  // its column.
  void Griglia(const QString& chi, const QTableWidget* t) {
    const StatoMaschera& m = MascheraCorrente;
    const QHeaderView* h = t->horizontalHeader();
    const int margine = t->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h);
    for (int c = 0; c < t->columnCount(); ++c) {
      const QString intestazione = t->horizontalHeaderItem(c) ? t->horizontalHeaderItem(c)->text() : QString();
      Entra(chi + QString(" heading %1").arg(c), intestazione, Larghezza(h, intestazione) + 2 * margine,
            h->sectionSize(c));
      const QString codice = m.FormatiCampi[static_cast<std::size_t>(c)];
      if (c > 0 && !codice.isEmpty())
        Entra(chi + QString(" column %1").arg(c), QString(codice.size(), '8'), Larghezza(t, QString(codice.size(), '8')) + 6,
              t->columnWidth(c));
    }
  }

  QString dove_;
  QStringList& guasti_;
};

const char* const kLingue[] = {"", "Italian", "German", "French", "Spanish", "English", "Portuguese"};

class Forms : public ::testing::Test {
 protected:
  void SetUp() override {
    QDir(t.Data()).mkpath("rilievi");
    rilievi = t.D("rilievi");
    for (const QString& f : QDir(FRATTIX_TEST_SOURCE_DIR "/examples").entryList(QDir::Files))
      QFile::copy(FRATTIX_TEST_SOURCE_DIR "/examples/" + f, rilievi + "/" + f);
    // A clustering result of four families, for the family parameters' grid.
    RisultatoCluster r;
    r.NumeroPoli = 4;
    r.Punti.assign(5, {0, 0.5, 0.5, 0.5, 0.5});
    r.NumeroCluster = 4;
    r.Membri.assign(5, {});
    for (int i = 1; i <= 4; ++i) r.Membri[static_cast<std::size_t>(i)] = {i};
    ASSERT_TRUE(ScriviFileRisultato(rilievi + "/esempio.dat", r));
  }

  // The text tables of a language, as a program other than the main one loads them at its start.
  void Lingua(int numero) {
    Avvio.NumeroLingua = numero;
    AzzeraTesti(800);
    QString errore;
    ASSERT_TRUE(CaricaTesti(t.P("texts01.txt"), &errore));
    ASSERT_TRUE(CaricaTesti(t.P("texts03.txt"), &errore));
    OrdinaTesti();
  }

  // The forms of the main program, opened by its commands.
  void Principale(int lingua, QStringList& guasti) {
    WriteAnsi(t.P("language.cfg"), QString(" %1 \n").arg(lingua));
    auto w = std::make_unique<menu1>();
    {
      Scripted s(t, "", "carica");
      w->Form_Load(rilievi + "/esempio.ses");
    }
    const QString dove = QString("%1, %2:").arg(kLingue[lingua], Schermo());
    plat::RegisterScriptAction("misura", [&](const QStringList&, QString* errore) {
      QWidget* form = QApplication::activeModalWidget();
      if (!form) {
        *errore = "no form is shown";
        return false;
      }
      Esame e(dove, guasti);
      if (form->objectName() == "base1") {
        const StatoMaschera& m = MascheraCorrente;
        for (int k = 0; k < m.NumeroCampiTesto; ++k) {
          const auto f = static_cast<std::size_t>(m.NumeroCampiScelta + k);
          if (m.FormatiCampi[f] == "0")
            e.numerici[QString("Text1(%1)").arg(k)] =
                Estremi(m.MinimiCampi[f].value_or(-1e7), m.MassimiCampi[f].value_or(1e7));
        }
      } else if (form->objectName() == "Editacfg") {
        e.numerici = {{"Text1", Estremi(0.01, 5)}, {"Text2", Estremi(0, 10)}, {"Text3", Estremi(0, 10)}};
      } else if (form->objectName() == "edilineform") {
        e.numerici = {{"Text1", Estremi(-1e7, 1e7)}, {"Text2", Estremi(-1e7, 1e7)}};
      }
      e.Controlla(form);
      return true;
    });
    const QString script =
        "menu about\nmisura\npress INFORMAZIONI.Command1\n"
        "menu EdizioneFronte\nmisura\npress Command1(1)\n"
        "menu EdizioneTitoli\nmisura\npress Command1(1)\n"
        "menu EdizioneScheda\nfile " + rilievi + "/fronte_est.sch\nmisura\npress Command1(0)\nmisura\n"
        "press base2_32.Command1(1)\n"
        "menu EdizioneFamiglie\nmisura\npress base2_32.Command1(1)\n"
        "menu EdizioneSelezione\nmisura\npress EdilineCeckBox.Command2\n"
        "menu EdizioneParametri\nmisura\npick List1 #0\npress SelezionaElenco.Command1\nmisura\n"
        "press EdilineCeckBox.Command2\npick List1 #1\npress SelezionaElenco.Command1\nmisura\n"
        "press edilineform.Command2\npress SelezionaElenco.Command2\n"
        "menu GraficaProiezione\nmisura\npress Command1(1)\n"
        "menu configura\nmisura\npress Editacfg.Command2\n"
        "principale\nnascondi\n";
    // The main window itself: its logo.
    plat::RegisterScriptAction("principale", [&](const QStringList&, QString*) {
      Esame(dove, guasti).Controlla(w.get());
      return true;
    });
    plat::RegisterScriptAction("nascondi", [&](const QStringList&, QString*) {
      w->hide();
      return true;
    });
    Scripted s(t, script, QString("principale%1").arg(lingua));
    try {
      plat::ShowModeless(w.get());
      plat::RunUntilClosed(w.get());
    } catch (const testing_support::Ended& fine) {
      ADD_FAILURE() << kLingue[lingua] << ": the main program ended (" << fine.code << ")\n"
                    << s.Log().join('\n').toStdString();
    }
    EXPECT_TRUE(s.Log("msgbox").isEmpty()) << kLingue[lingua] << "\n" << s.Log().join('\n').toStdString();
    EXPECT_EQ(s.Log("form").size(), 14) << kLingue[lingua] << "\n" << s.Log().join('\n').toStdString();
  }

  // The forms of the other programs, each made as its program makes it.
  void Altri(int lingua, QStringList& guasti) {
    Lingua(lingua);
    const QString dove = QString("%1, %2:").arg(kLingue[lingua], Schermo());
    {
      // Print settings.
      Scripted s(t, "misura\npress ConfStampa.Command3\n", "confstampa");
      plat::RegisterScriptAction("misura", [&](const QStringList&, QString*) {
        Esame e(dove, guasti);
        for (int i = 1; i <= 5; ++i) e.numerici[QString("Text%1").arg(i)] = {"-32768", "32767"};
        e.Controlla(QApplication::activeModalWidget());
        return true;
      });
      MostraConfStampa();
    }
    {
      // TALVOR's clustering window in each of its phases, its prompts with the widest answers they take.
      // As the analysis shows it: over the work area, every frame hidden until its phase.
      workform f;
      f.setGeometry(plat::WorkArea());
      for (QGroupBox* frame : {f.Frame1, f.Frame2, f.Frame3, f.Frame4, f.Frame5}) frame->hide();
      f.show();
      f.Disponi(f.size());
      const auto fasi = std::vector<std::pair<QString, std::function<void()>>>{
          {"linkage", [&] { f.Frame1->show(); }},
          {"aggregation", [&] { f.Frame3->move(f.Frame5->x(), f.Frame3->y()); f.Frame3->show(); f.Label1->setText(TestoContatore("n. cluster:", 300)); }},
          {"level", [&] { f.MostraDomanda(workform::DomandaLivello); }},
          {"browsing", [&] {
             f.Frame4->show();
             f.Frame3->show();
             f.Label1->setText(TestoContatore("n. cluster:", 300));
             f.Label2->setText(TestoContatore("n. min. poli:", 1000));
             f.Label2->show();
           }},
          {"distance", [&] { f.MostraDomanda(workform::DomandaDistanza); }},
          {"confirmation", [&] { f.Frame2->show(); }},
      };
      for (const auto& [fase, mostra] : fasi) {
        for (QGroupBox* frame : {f.Frame1, f.Frame2, f.Frame3, f.Frame4, f.Frame5}) frame->hide();
        f.Disponi(f.size());
        mostra();
        Esame e(dove + " " + fase, guasti);
        e.numerici = {{"Text1", fase == "distance" ? Estremi(0, 90) : QStringList{"300"}}};
        e.Controlla(&f);
      }
    }
    {
      GRAFICA g;
      g.show();
      Esame(dove, guasti).Controlla(&g);
    }
    {
      selezling s;
      s.Prepara();
      s.show();
      Esame(dove, guasti).Controlla(&s);
      loading l;
      l.show();
      Esame(dove, guasti).Controlla(&l);
    }
  }

  static QString Schermo() {
    return qEnvironmentVariableIsSet("FRATTIX_TEST_SCREEN") ? qEnvironmentVariable("FRATTIX_TEST_SCREEN")
                                                            : QString("scale 1");
  }

  TestFolder t;
  QString rilievi;
};

TEST_F(Forms, EveryFormShowsItsWholeTextsInEveryLanguage) {
  if (!testing_support::OnOtherScreen()) {
    // A laptop's screen of 2560 x 1600 pixels: 1280 x 800 pixels of the windows at scale 2.
    for (const testing_support::Screen& s : testing_support::kScreens) {
      if (!s.variable) continue;
      QString uscita;
      EXPECT_TRUE(testing_support::RunOnScreen(s, &uscita, QSize(2560, 1600))) << s.name << "\n" << uscita.toStdString();
    }
  }
  QStringList guasti;
  for (int lingua = 1; lingua <= 6; ++lingua) {
    Principale(lingua, guasti);
    Altri(lingua, guasti);
  }
  EXPECT_TRUE(guasti.isEmpty()) << guasti.size() << " faults:\n" << guasti.join('\n').toStdString();
}

}  // namespace
