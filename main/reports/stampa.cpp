#include "main/reports/stampa.h"

#include "common/markup/documento.h"
#include "common/platform/files.h"
#include "common/platform/printer.h"
#include "common/platform/printsetup.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/texts/avvio.h"
#include "common/texts/finestre.h"
#include "common/texts/testi.h"
#include "main/session/sessione.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr double kCm = kPuntiPerCentimetro;
// Leader dots are added one at a time; a run longer than this ends (a font that measures a point as next to
// nothing would otherwise take for ever).
constexpr int kMassimoPunti = 2000;
// The gap between two columns of a table or list, and the room of a list's leader dots after its widest label.
constexpr double kIntervallo = 0.5 * kCm;
// The smallest font a table wider than the page is set in.
constexpr double kDimensioneMinima = 1;

// The six lengths of "#RESET" as the printed page uses them, in whole points.
struct MarginiPagina {
  int sinistro = 0;           // where every line begins at the least
  int destro = 0;             // kept free at the right of the page
  int superiore = 0;          // the top of the header line
  int inferiore = 0;          // where the footer line ends, from the bottom of the page
  int sottoIntestazione = 0;  // the gap between the header line and the first text line
  int sopraPiePagina = 0;     // the room above the footer line in which no text line or row begins
};

MarginiPagina Margini(const std::array<int, 6>& m) { return {m[0], m[1], m[2], m[3], m[4], m[5]}; }

plat::TextPrinter*& StampanteImpostata() {
  static plat::TextPrinter* stampante = nullptr;
  return stampante;
}

plat::TextPrinter& Stampante() {
  plat::TextPrinter* s = StampanteImpostata();
  return s ? *s : plat::Printer();
}

class RendererStampa : public InterpreteDocumento {
 public:
  // "#TABSTYLE" and "#FONTITALIC" end a table's collecting too.
  RendererStampa() : InterpreteDocumento(LimitiDocumento::ProgrammaPrincipale(), RegoleModo{true, true}) {}

 protected:
  void ApriDocumento(const ArgomentoReset& a) override {
    plat::TextPrinter& p = Stampante();
    margini_ = Margini(a.margini);
    dimensioneBase_ = a.dimensione;
    fontBase_ = a.font;
    dimensione_ = dimensioneBase_;
    font_ = fontBase_;
    righePagina_ = 0;
    p.SetScaleMode(2);
    Font(fontBase_, dimensioneBase_);
    W_ = std::floor(p.Width() / plat::kTwipsPerPoint - kCm);
    H_ = std::floor(p.Height() / plat::kTwipsPerPoint - kCm);
  }

  void Direttiva(const RigaDocumento& r) override {
    plat::TextPrinter& p = Stampante();
    switch (r.chiave) {
      case ParolaChiave::FontSize: {
        // A size of 0 or less (a missing or malformed number) leaves the size as it is.
        const double v = ValoreArgomento(r.argomento);
        if (v > 0) {
          dimensione_ = v;
          p.SetFontSize(v);
        }
        break;
      }
      case ParolaChiave::FontItalic:
        p.SetFontItalic(Corsivo());
        break;
      case ParolaChiave::Font:
        if (!r.argomento.isEmpty()) {
          font_ = r.argomento;
          p.SetFontName(font_);
        }
        break;
      case ParolaChiave::NewPage:
        SaltoPagina();
        break;
      case ParolaChiave::NewParagraph:
        if (p.CurrentY() > LimiteTesto() - ValoreArgomento(r.argomento) * kCm) SaltoPagina();
        break;
      default:
        break;
    }
  }

  // A line that would run past the page width even from the left margin is printed in pieces, each on a line of
  // its own from the left margin, so that nothing of it falls off the paper: it is broken at its blanks, and a word
  // wider than the page on its own is broken where it meets the page's edge.
  void ScriviTesto(const QString& riga) override {
    plat::TextPrinter& p = Stampante();
    const double spazio = W_ - margini_.sinistro;
    if (p.TextWidth(riga) <= spazio) {
      StampaRigaTesto(riga, false);
      return;
    }
    qsizetype inizio = 0;
    while (inizio < riga.size()) {
      // The longest piece from `inizio` that ends before a blank and fits; at least one word, or as much of the
      // word as fits.
      qsizetype fine = inizio;
      while (fine < riga.size() && riga.at(fine) == QLatin1Char(' ')) ++fine;
      fine = riga.indexOf(QLatin1Char(' '), fine);
      if (fine < 0) fine = riga.size();
      if (p.TextWidth(riga.mid(inizio, fine - inizio)) > spazio) {
        fine = inizio + PrefissoEntro(riga.mid(inizio, fine - inizio), spazio);
      } else {
        for (qsizetype dopo = fine; dopo < riga.size();) {
          qsizetype prossima = riga.indexOf(QLatin1Char(' '), dopo + 1);
          if (prossima < 0) prossima = riga.size();
          if (p.TextWidth(riga.mid(inizio, prossima - inizio)) > spazio) break;
          fine = dopo = prossima;
        }
      }
      StampaRigaTesto(riga.mid(inizio, fine - inizio), true);
      inizio = fine;
      while (inizio < riga.size() && riga.at(inizio) == QLatin1Char(' ')) ++inizio;
    }
  }

  void ScriviTabella(const TabellaDocumento& t) override {
    plat::TextPrinter& p = Stampante();
    const int n = static_cast<int>(t.celle.size());
    // The column widths are measured once for the whole table, on every row of it: its later parts keep them, and
    // the font size and the gaps it was given.
    if (!t.continuazione) {
      dimensioneTabella_ = dimensione_;
      intervallo_ = kIntervallo;
      MisuraTabella(t);
      AdattaTabella(t);
    }
    // While the table is printed its size is the body size, which every header and footer puts back.
    const double dimensioneTesto = dimensione_;
    if (dimensioneTabella_ != dimensione_) {
      dimensione_ = dimensioneTabella_;
      p.SetFontSize(dimensione_);
    }
    StampaTabella(t, n);
    if (dimensione_ != dimensioneTesto) {
      dimensione_ = dimensioneTesto;
      p.SetFontSize(dimensione_);
    }
  }

  bool ChiudiDocumento() override {
    StampaPiePagina();
    return Stampante().EndDoc();
  }

 private:
  void StampaRigaTesto(const QString& riga, bool pezzo) {
    plat::TextPrinter& p = Stampante();
    if (righePagina_ == 0) StampaIntestazione();
    ++righePagina_;
    // Blank lines right under a header are dropped.
    if (riga.isEmpty() && inizioPagina_) return;
    if (p.CurrentY() > LimiteTesto()) {
      SaltoPagina();
      righePagina_ = 1;
    }
    p.SetCurrentX(pezzo ? margini_.sinistro : InizioRiga(p.TextWidth(riga)));
    Stampa(riga, true);
    inizioPagina_ = false;
  }

  // The column widths of a table in the current font, on every row of it, and its whole width: the widths, the
  // gaps between the columns and, in a list, the room of the leader dots after the widest label.
  void MisuraTabella(const TabellaDocumento& t) {
    plat::TextPrinter& p = Stampante();
    const int c = t.colonne;
    larghezza_.assign(static_cast<std::size_t>(c), 0.0);
    for (const QStringList& riga : t.tutte ? *t.tutte : t.celle)
      for (int j = 0; j < c; ++j) larghezza_[j] = std::max(larghezza_[j], p.TextWidth(riga.at(j)));
    testi_ = 0;
    for (double l : larghezza_) testi_ += l;
    intervalli_ = c + (t.lista && c > 0 ? 1 : 0);
    totale_ = testi_ + intervalli_ * intervallo_;
  }

  // A table that would run past the page width even from the left margin is set in a smaller font, so that it
  // ends at the page width: the widths of its texts shrink with the font, its gaps do not. A table that does not
  // fit even at the smallest font keeps that font, and the gaps between its columns narrow as far as the page
  // needs; only texts wider than the page on their own at that font take a smaller one still.
  void AdattaTabella(const TabellaDocumento& t) {
    const double spazio = W_ - margini_.sinistro;
    if (totale_ <= spazio || !(dimensione_ > 0)) return;
    const auto misura = [&](double dimensione) {
      Stampante().SetFontSize(dimensione);
      MisuraTabella(t);
      return testi_;
    };
    dimensioneTabella_ =
        Restringi(dimensioneTabella_, spazio - intervalli_ * intervallo_, kDimensioneMinima, testi_, misura);
    if (testi_ > spazio) dimensioneTabella_ = Restringi(dimensioneTabella_, spazio, 0, testi_, misura);
    if (totale_ > spazio && testi_ <= spazio && intervalli_ > 0) {
      intervallo_ = (spazio - testi_) / intervalli_;
      totale_ = testi_ + intervalli_ * intervallo_;
    }
    Stampante().SetFontSize(dimensione_);
  }

  // The font size at which a text `larghezza` wide in `dimensione` comes within `spazio`: smaller in proportion to
  // the width, measured again (`misura` sets a size and gives the width in it), a few times, never below `minimo`
  // (which a room of nothing takes at once). A printer whose widths do not follow the size keeps the size before.
  static double Restringi(double dimensione, double spazio, double minimo, double larghezza,
                          const std::function<double(double)>& misura) {
    for (int prova = 0; prova < 4 && larghezza > spazio; ++prova) {
      if (!(larghezza > 0)) break;
      const double proporzionale = spazio > 0 ? dimensione * spazio / larghezza * (prova == 0 ? 1.0 : 0.98) : 0;
      const double nuova = std::max(minimo, proporzionale);
      if (!(nuova < dimensione) || !(nuova > 0)) break;
      const double misurata = misura(nuova);
      if (!(misurata < larghezza)) {
        misura(dimensione);
        break;
      }
      dimensione = nuova;
      larghezza = misurata;
    }
    return dimensione;
  }

  // The longest start of `testo` that fits within `spazio` (searched over its length), one character at least.
  qsizetype PrefissoEntro(const QString& testo, double spazio) const {
    qsizetype entra = 1, oltre = testo.size();
    while (oltre - entra > 1) {
      const qsizetype meta = entra + (oltre - entra) / 2;
      (Stampante().TextWidth(testo.left(meta)) <= spazio ? entra : oltre) = meta;
    }
    return entra;
  }

  void StampaTabella(const TabellaDocumento& t, int n) {
    plat::TextPrinter& p = Stampante();
    const std::vector<double>& larghezza = larghezza_;
    const double totale = totale_;

    // A part after the first of a long table starts with the head row again: it is printed only when the page
    // broke right after the part before, as in one table. A list repeats no row.
    const bool testaRipetuta = t.testaRipetuta && !saltoDopoUltimaRiga_;
    saltoDopoUltimaRiga_ = false;
    for (int i = testaRipetuta ? 1 : 0; i < n; ++i) {
      if (righePagina_ == 0) StampaIntestazione();
      ++righePagina_;
      if (t.lista) {
        StampaRigaLista(t.celle[static_cast<std::size_t>(i)], larghezza, totale);
        if (p.CurrentY() > LimiteTesto()) SaltoPagina();
      } else {
        StampaRigaTabella(t.celle[static_cast<std::size_t>(i)], larghezza, totale, i == 0);
        if (p.CurrentY() > LimiteTesto()) {
          SaltoPagina();
          if (i < n - 1) StampaRigaTabella(t.celle.front(), larghezza, totale, true);
          else saltoDopoUltimaRiga_ = true;
        }
      }
    }
    inizioPagina_ = false;
  }

 public:
  // The texts printed so far (blank ones not counted), by every document this renderer has printed.
  long long TestiStampati() const { return testiStampati_; }

 private:
  // Prints on the printer and counts what is printed.
  void Stampa(const QString& testo, bool fineRiga) {
    if (!testo.isEmpty()) ++testiStampati_;
    Stampante().Print(testo, fineRiga);
  }

  // The font name and size given to the printer; an empty name and a size of 0 or less are not given.
  void Font(const QString& nome, double dimensione) {
    plat::TextPrinter& p = Stampante();
    if (!nome.isEmpty()) p.SetFontName(nome);
    if (dimensione > 0) p.SetFontSize(dimensione);
  }

  // The text limit: below it no text line or row begins.
  double LimiteTesto() const {
    return H_ - margini_.inferiore - margini_.sopraPiePagina - Stampante().TextHeight(PiePagina());
  }

  // Where a line or a table of that width begins, by the alignment; one wider than the text area begins at the left
  // margin, so that it runs off the page on the right only.
  double InizioRiga(double larghezza) const {
    switch (Allineamento()) {
      case 1: return InizioCentrato(larghezza);
      case 2: return std::max<double>(margini_.sinistro, W_ - margini_.destro - larghezza);
      default: return margini_.sinistro;
    }
  }
  double InizioCentrato(double larghezza) const {
    const double sinistro = margini_.sinistro;
    return std::max(sinistro, sinistro + (W_ - sinistro - margini_.destro - larghezza) / 2);
  }

  // The base font for a header or footer; one that would run past the page width even from the left margin is set
  // smaller, so that it ends within it (below the smallest font of a table only when even that one is too wide).
  void FontBase(const QString& testo) {
    plat::TextPrinter& p = Stampante();
    Font(fontBase_, dimensioneBase_);
    if (!(dimensioneBase_ > 0)) return;
    const auto misura = [&](double d) {
      p.SetFontSize(d);
      return p.TextWidth(testo);
    };
    const double d = Restringi(dimensioneBase_, W_ - margini_.sinistro, kDimensioneMinima, p.TextWidth(testo), misura);
    Restringi(d, W_ - margini_.sinistro, 0, p.TextWidth(testo), misura);
  }

  void StampaIntestazione() {
    plat::TextPrinter& p = Stampante();
    FontBase(Intestazione());
    p.SetCurrentY(margini_.superiore);
    p.SetCurrentX(InizioCentrato(p.TextWidth(Intestazione())));
    Stampa(Intestazione(), true);
    p.SetCurrentY(margini_.superiore + p.TextHeight(Intestazione()) + margini_.sottoIntestazione);
    Font(font_, dimensione_);
    inizioPagina_ = true;
  }

  void StampaPiePagina() {
    plat::TextPrinter& p = Stampante();
    FontBase(PiePagina());
    p.SetCurrentY(H_ - margini_.inferiore - p.TextHeight(PiePagina()));
    p.SetCurrentX(InizioCentrato(p.TextWidth(PiePagina())));
    Stampa(PiePagina(), true);
    Font(font_, dimensione_);
  }

  void SaltoPagina() {
    StampaPiePagina();
    Stampante().NewPage();
    StampaIntestazione();
  }

  // A list row: the label followed by a blank and leader dots up to the width of the first column and the room of
  // the dots, then the values right-aligned.
  void StampaRigaLista(const QStringList& celle, const std::vector<double>& larghezza, double totale) {
    plat::TextPrinter& p = Stampante();
    double x = InizioRiga(totale);
    for (int j = 0; j < static_cast<int>(larghezza.size()); ++j) {
      QString cella = celle.at(j);
      const double colonna = larghezza[j] + (j == 0 ? intervallo_ : 0);
      if (j == 0) {
        p.SetCurrentX(x + intervallo_ / 2);
        cella += QLatin1Char(' ');
        // A font that measures the point as 0 wide gets no dots, so the loop always ends.
        if (p.TextWidth(QStringLiteral(".")) > 0)
          for (int k = 0; k < kMassimoPunti && p.TextWidth(cella) < colonna; ++k) cella += QLatin1Char('.');
      } else {
        p.SetCurrentX(x + colonna + intervallo_ / 2 - p.TextWidth(cella));
      }
      Stampa(cella, false);
      x += colonna + intervallo_;
    }
    Stampa(QString(), true);
  }

  // A table row: each cell right-aligned (">" in the tab style) or left-aligned in its column; the head row bold.
  void StampaRigaTabella(const QStringList& celle, const std::vector<double>& larghezza, double totale, bool testa) {
    plat::TextPrinter& p = Stampante();
    double x = InizioRiga(totale);
    if (testa) p.SetFontBold(true);
    for (int j = 0; j < static_cast<int>(larghezza.size()); ++j) {
      const QString& cella = celle.at(j);
      const bool destra = j < StileTabulazione().size() && StileTabulazione().at(j) == QLatin1Char('>');
      p.SetCurrentX(destra ? x + larghezza[j] + intervallo_ / 2 - p.TextWidth(cella) : x + intervallo_ / 2);
      Stampa(cella, false);
      x += larghezza[j] + intervallo_;
    }
    if (testa) p.SetFontBold(false);
    Stampa(QString(), true);
  }

  MarginiPagina margini_;
  int dimensioneBase_ = 0;
  QString fontBase_;
  double dimensione_ = 0;  // the body font, put back after every header and footer
  QString font_;
  double W_ = 0, H_ = 0;  // the paper's width and height in points less 1 cm, taken down to whole points
  int righePagina_ = 0;
  bool inizioPagina_ = false;
  bool saltoDopoUltimaRiga_ = false;  // the last row of a table part ended its page
  long long testiStampati_ = 0;
  std::vector<double> larghezza_;     // the column widths of the table or list being printed
  double testi_ = 0;                  // their sum
  int intervalli_ = 0;                // its gaps: one a column, and in a list the room of the dots
  double intervallo_ = kIntervallo;   // the width of a gap
  double totale_ = 0;                 // its width: the columns and the gaps
  double dimensioneTabella_ = 0;      // its font size: the body size, or less where it would not fit the page
};

std::unique_ptr<RendererStampa>& Renderer() {
  static std::unique_ptr<RendererStampa> r = std::make_unique<RendererStampa>();
  return r;
}

}  // namespace

void StampaRigaDocumento(QString& riga) { Renderer()->Riga(riga); }

bool FineDocumentoStampa() {
  Renderer()->FineFile();
  return Renderer()->UltimaChiusuraRiuscita();
}

void ImpostaStampanteDocumento(plat::TextPrinter* stampante) { StampanteImpostata() = stampante; }

void AzzeraStampa() { Renderer() = std::make_unique<RendererStampa>(); }

void StampaDocumento(const QString& percorso) {
  plat::SeqReader r;
  if (!ApriInLettura(r, percorso)) return;
  const bool oggetto = StampanteImpostata() == nullptr;
  // The job is named after the document, so its PDF file is too.
  if (oggetto) PreparaStampante();
  if (oggetto) plat::Printer().SetJobName(plat::FileNamePart(percorso).section(QLatin1Char('.'), 0, 0));
  const long long stampati = Renderer()->TestiStampati();
  QString riga;
  while (r.ReadLine(riga)) StampaRigaDocumento(riga);
  if (!FineDocumentoStampa()) {
    // The job's PDF file that could not be saved (a full disk, a pipe at its name) is said as every save says it.
    if (oggetto && !plat::Printer().UnwrittenFile().isEmpty())
      Attenzione(QStringLiteral("Il file seguente non puo' essere scritto:"),
                 DescrizioneFile(plat::Printer().UnwrittenFile()));
    else
      Attenzione(QStringLiteral("La stampante non ha accettato il lavoro di stampa."));
    return;
  }
  // A document with nothing in it (a report of a session without results) gives no page: the user is told.
  if (Renderer()->TestiStampati() == stampati) {
    Attenzione(QStringLiteral("Non c'e' nulla da stampare."));
    return;
  }
  if (oggetto && !plat::Printer().OutputFile().isEmpty()) {
    plat::MsgBox(Traduci(QStringLiteral("Il documento e' stato stampato nel file:")) + QLatin1Char('\n') +
                     DescrizioneFile(plat::Printer().OutputFile()),
                 plat::vbInformation, Traduci(QStringLiteral("ATTENZIONE")) + QStringLiteral("!"));
  }
}

bool ConfiguraStampante(const QString& titolo) {
  return plat::PrinterSetupDialog(titolo, [](const QString& file) {
    switch (plat::KindAt(file)) {
      case plat::EntryKind::Other:
        Attenzione(QStringLiteral("Il file seguente non puo' essere scritto:"), DescrizioneFile(file));
        return plat::OutputFileCheck::Refused;
      case plat::EntryKind::Link:
        return plat::MsgBox(Traduci(QStringLiteral("Volete sovrascrivere il file")) + QStringLiteral("\r") + file +
                                QStringLiteral("?"),
                            plat::vbYesNo | plat::vbExclamation,
                            Traduci(QStringLiteral("ATTENZIONE")) + QStringLiteral("!")) == plat::vbYes
                   ? plat::OutputFileCheck::Confirmed
                   : plat::OutputFileCheck::Refused;
      default:
        return plat::OutputFileCheck::Unchecked;
    }
  });
}
