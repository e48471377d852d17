// Every form of the suite in every language of the text tables, on the screen of the run: the default screen here,
// and through RunOnScreen screens scaled by 1.5 and by 2 and fonts at 144 dots per inch. The main program's forms
// are opened by its own commands on the example session, with the values they hold; the other programs' forms are
// made as their programs make them. On each form:
// - no label's, button's, option's or frame's text is wider (or, wrapped, higher) than the room it has;
// - no control lies outside its form or frame, and no text lies under another control beside it;
// - every numeric field holds the widest value it takes, every text field the text it opens with, every drop-down
//   list its longest entry, every column of a grid its heading and its widest value;
// - every picture is drawn in the pixels of the screen.
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
#include <QPushButton>
#include <QRegularExpression>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
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

// The style options a control paints itself with (its initStyleOption is protected).
template <class Controllo, class Opzioni>
struct Stile : Controllo {
  static Opzioni Di(const Controllo* c) {
    Opzioni o;
    (c->*(&Stile::initStyleOption))(&o);
    return o;
  }
};
using OpzioniCampo = Stile<QLineEdit, QStyleOptionFrame>;
using OpzioniPulsante = Stile<QPushButton, QStyleOptionButton>;
using OpzioniOpzione = Stile<QRadioButton, QStyleOptionButton>;
using OpzioniCasella = Stile<QCheckBox, QStyleOptionButton>;
using OpzioniCornice = Stile<QGroupBox, QStyleOptionGroupBox>;
using OpzioniElenco = Stile<QComboBox, QStyleOptionComboBox>;

QString Mostrato(const QString& didascalia) { return plat::ShownCaption(didascalia); }

// The widest value a numeric field takes: the bound with more figures before the point, with three decimals, and
// a minus sign when the range holds negative values.
QString PiuLargo(double minimo, double massimo) {
  const double grande = std::max(std::fabs(minimo), std::fabs(massimo));
  return (minimo < 0 ? QString("-") : QString()) + QString::number(std::floor(grande), 'f', 0) + ".000";
}

// The width a line edit needs to show a text whole, the cursor after it, and the room it has (as it paints: its
// contents less its text margins and a margin of 2 pixels either side, and 1 above and below).
int Serve(const QLineEdit* e, const QString& testo) {
  return static_cast<int>(std::ceil(QFontMetricsF(e->font(), e).horizontalAdvance(testo))) + 2;
}
QRect Interno(const QLineEdit* e) {
  const QStyleOptionFrame o = OpzioniCampo::Di(e);
  return e->style()->subElementRect(QStyle::SE_LineEditContents, &o, e).marginsRemoved(e->textMargins());
}
int Spazio(const QLineEdit* e) { return Interno(e).width() - 2 * 2; }

int Larghezza(const QWidget* w, const QString& testo) {
  int massimo = 0;
  for (const QString& riga : testo.split('\n'))
    massimo = std::max(massimo, static_cast<int>(std::ceil(QFontMetricsF(w->font(), w).horizontalAdvance(riga))));
  return massimo;
}

class Esame {
 public:
  Esame(QString dove, QStringList& guasti) : dove_(std::move(dove)), guasti_(guasti) {}

  // The numeric fields of the form by object name, with the widest value each takes.
  std::map<QString, QString> numerici;

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
      } else if (auto* b = qobject_cast<QPushButton*>(w)) {
        const QStyleOptionButton o = OpzioniPulsante::Di(b);
        const QRect r = b->style()->subElementRect(QStyle::SE_PushButtonContents, &o, b);
        Entra(chi, Mostrato(b->text()), Larghezza(b, Mostrato(b->text())), r.width());
        Alto(chi, Mostrato(b->text()), b->fontMetrics().height(), r.height());
        testo = b->geometry();
      } else if (auto* o = qobject_cast<QRadioButton*>(w)) {
        const QStyleOptionButton s = OpzioniOpzione::Di(o);
        const QRect r = o->style()->subElementRect(QStyle::SE_RadioButtonContents, &s, o);
        Entra(chi, Mostrato(o->text()), Larghezza(o, Mostrato(o->text())), r.width());
        Alto(chi, Mostrato(o->text()), o->fontMetrics().height(), o->height());
        testo = QRect(o->pos(), QSize(r.left() + Larghezza(o, Mostrato(o->text())), o->height()));
      } else if (auto* c = qobject_cast<QCheckBox*>(w)) {
        const QStyleOptionButton s = OpzioniCasella::Di(c);
        const QRect r = c->style()->subElementRect(QStyle::SE_CheckBoxContents, &s, c);
        Entra(chi, Mostrato(c->text()), Larghezza(c, Mostrato(c->text())), r.width());
        Alto(chi, Mostrato(c->text()), c->fontMetrics().height(), c->height());
        testo = QRect(c->pos(), QSize(r.left() + Larghezza(c, Mostrato(c->text())), c->height()));
      } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        if (!g->title().isEmpty()) {
          const QStyleOptionGroupBox o = OpzioniCornice::Di(g);
          const QRect r = g->style()->subControlRect(QStyle::CC_GroupBox, &o, QStyle::SC_GroupBoxLabel, g);
          if (!g->rect().contains(r) || r.width() < Larghezza(g, Mostrato(g->title())))
            Guasto(chi, QString("title \"%1\" needs %2 px from %3, the frame is %4 wide")
                            .arg(Mostrato(g->title()))
                            .arg(Larghezza(g, Mostrato(g->title())))
                            .arg(r.left())
                            .arg(g->width()));
        }
      } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
        if (!e->text().isEmpty()) Entra(chi, e->text(), Serve(e, e->text()), Spazio(e));
        const auto n = numerici.find(w->objectName());
        if (n != numerici.end()) Entra(chi, n->second + " (widest value)", Serve(e, n->second), Spazio(e));
        for (const QString& v : {e->text(), n != numerici.end() ? n->second : QString()})
          if (!v.isEmpty()) Alto(chi, v, e->fontMetrics().tightBoundingRect(v).height(), Interno(e).height());
      } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        const QStyleOptionComboBox o = OpzioniElenco::Di(c);
        const QRect r = c->style()->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField, c);
        for (int i = 0; i < c->count(); ++i) Entra(chi, c->itemText(i), Larghezza(c, c->itemText(i)) + 2, r.width());
        for (int i = 0; i < c->count(); ++i)
          Alto(chi, c->itemText(i), c->fontMetrics().tightBoundingRect(c->itemText(i)).height(), r.height());
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

  void Entra(const QString& chi, const QString& testo, int serve, int spazio) {
    if (serve > spazio) Guasto(chi, QString("\"%1\" needs %2 px, has %3").arg(testo).arg(serve).arg(spazio));
  }
  void Alto(const QString& chi, const QString& testo, int serve, int spazio) {
    if (serve > spazio)
      Guasto(chi, QString("\"%1\" needs %2 px of height, has %3").arg(testo).arg(serve).arg(spazio));
  }

  // A label's text: its room is the label's contents; a label whose text ends in leader dots lies under the field
  // it names by design, and only its name (with the blank after it) must stay clear of the other controls.
  std::optional<QRect> Etichetta(const QString& chi, const QLabel* l) {
    const QString testo = l->buddy() ? Mostrato(l->text()) : l->text();
    if (testo.isEmpty()) return std::nullopt;
    const QRect contenuto = l->contentsRect().marginsRemoved(QMargins(l->margin(), l->margin(), l->margin(), l->margin()));
    static const QRegularExpression puntini(" \\.+$");
    const QRegularExpressionMatch m = puntini.match(testo);
    if (m.hasMatch()) {
      const QString nome = testo.left(m.capturedStart()) + " .";
      return QRect(l->pos() + contenuto.topLeft(), QSize(Larghezza(l, nome), contenuto.height()));
    }
    if (l->wordWrap()) {
      const int alto = l->heightForWidth(l->width());
      if (alto > l->height())
        Guasto(chi, QString("\"%1\" needs %2 px of height, has %3").arg(testo).arg(alto).arg(l->height()));
      return std::nullopt;
    }
    const int largo = Larghezza(l, testo);
    Entra(chi, testo, largo, contenuto.width());
    const int righe = static_cast<int>(testo.count('\n')) + 1;
    const int alto = righe * l->fontMetrics().height();
    if (alto > contenuto.height())
      Guasto(chi, QString("\"%1\" needs %2 px of height, has %3").arg(testo).arg(alto).arg(contenuto.height()));
    const QRect r = QStyle::alignedRect(l->layoutDirection(), l->alignment(), QSize(largo, std::min(alto, contenuto.height())),
                                        contenuto);
    return r.translated(l->pos());
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
                PiuLargo(m.MinimiCampi[f].value_or(-1e7), m.MassimiCampi[f].value_or(1e7));
        }
      } else if (form->objectName() == "Editacfg") {
        e.numerici = {{"Text1", PiuLargo(0.01, 5)}, {"Text2", PiuLargo(0, 10)}, {"Text3", PiuLargo(0, 10)}};
      } else if (form->objectName() == "edilineform") {
        e.numerici = {{"Text1", PiuLargo(-1e7, 1e7)}, {"Text2", PiuLargo(-1e7, 1e7)}};
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
        for (int i = 1; i <= 5; ++i) e.numerici[QString("Text%1").arg(i)] = "-32768";
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
        e.numerici = {{"Text1", fase == "distance" ? PiuLargo(0, 90) : QString("300")}};
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
