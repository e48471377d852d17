// The report document (DocumentoTabulato): a text file in the suite's line markup. Directive lines begin with "#",
// every other line is a text line or, between "#STARTTABLE"/"#STARTLIST" and their end, a table or list row whose
// cells are separated by one TAB. This is the one definition of the grammar, of the document state a renderer
// keeps between lines, of the buffering of table rows, of the cutting of rows into cells and of the decimal
// alignment of numeric columns. The text, preview and printer renderers of the main program and wenlow's
// interpreter each derive from InterpreteDocumento and say only how they render.
//
// How a renderer uses it:
//   class MioRenderer : public InterpreteDocumento {
//     MioRenderer() : InterpreteDocumento(LimitiDocumento::ProgrammaPrincipale(), RegoleModo{...}) {}
//     void ApriDocumento(const ArgomentoReset&) override;        // "#RESET": open the output
//     void ScriviTesto(const QString& riga) override;            // a text line in mode 0
//     void ScriviTabella(const TabellaDocumento& t) override;     // a table or list (or one part of a long one)
//     void Direttiva(const RigaDocumento& r) override;           // any other directive, after the state changed
//     bool ChiudiDocumento() override;                           // "#ENDDOCUMENT": finish the output
//   };
//   The driver hands every line to Riga() and, at the end of the file, calls FineFile().
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <vector>

// Points per centimetre: every length of the markup is given in centimetres.
inline constexpr double kPuntiPerCentimetro = 72.0 / 2.54;
// Columns of the cell grid.
inline constexpr int kColonneGriglia = 30;

// The kinds of line of the grammar. Testo is a line that is not a directive; Commento every "#" line whose
// keyword is not one of the others.
enum class ParolaChiave {
  Testo,
  Reset,
  TabStyle,
  StartTable,
  StartList,
  EndTable,
  EndTableLeftAlign,
  EndTableNoItalic,
  EndList,
  Font,
  FontSize,
  FontItalic,
  Header,
  Footer,
  Left,
  Center,
  Right,
  NewPage,
  NewParagraph,
  EndDocument,
  Commento,
};

// One line of a document, taken apart.
struct RigaDocumento {
  ParolaChiave chiave = ParolaChiave::Testo;
  QString parola;     // the keyword, upper-cased ("#HEADER"); empty for a text line
  QString argomento;  // the text after the keyword's first blank, trimmed; the text itself for a text line
};

// Takes apart a line already trimmed of blanks. A line is a directive when it begins with "#"; it is split at its
// first blank into the keyword (upper-cased, so keywords match in any case) and the argument (trimmed, its case
// kept); a TAB does not separate. A text line written with EscapeTestoDocumento comes back as the user's text.
RigaDocumento AnalizzaRigaDocumento(const QString& riga);

// A user's text (a title, a sheet header line) made safe for a text line of a document: a text whose first
// non-blank character is "#" would be read as a directive; it gets a no-break space in front, which the grammar
// drops again, so it renders as written. Every other text is returned unchanged.
QString EscapeTestoDocumento(const QString& testo);

// The argument of "#RESET": m1..m6 in whole points (floor of centimetres x 72 / 2.54), the font size (integer
// part) and the font name (untrimmed). Missing or non-numeric fields read as 0 or empty.
struct ArgomentoReset {
  std::array<int, 6> margini{};
  int dimensione = 0;
  QString font;
};
ArgomentoReset LeggiArgomentoReset(const QString& argomento);

// The numeric value of an argument: its leading number, a point as decimal separator; text gives 0.
double ValoreArgomento(const QString& argomento);
// The tab-style string of "#TABSTYLE": a leading "=" or "-" dropped, then the letters followed by 23 ">".
QString LeggiStileTabulazione(const QString& argomento);
QString StileTabulazioneIniziale();  // 23 ">"
// The italic flag of "#FONTITALIC": true exactly for the argument "TRUE" in any case.
bool ArgomentoCorsivo(const QString& argomento);

// The number of decimals of a table cell: -2 when it is not a number (any character other than a blank, a digit or
// a point: a sign, a comma, a letter, a TAB), -1 for a whole number (no point, or a point at its trimmed end; an
// empty cell too), else the characters after its first point, trailing blanks included.
int DecimaliCella(const QString& cella);

// The cells of a table row: the row is cut at every TAB, so a TAB-b gives two cells, a TAB TAB b three, an empty
// row one empty cell and a row ending in a TAB an empty last cell. At most `massimo` cells: the last one keeps the
// rest of the row (TABs included), so no text is lost.
QStringList CelleRiga(const QString& riga, int massimo = kColonneGriglia);

// Decimal alignment of the numeric columns of a cell grid (every row holding `colonne` cells): in each column
// every number gets the largest number of decimals of the column's numbers (12 -> 12.00 next to 1.25, .5 -> 0.50),
// a column of whole numbers stays as it is, text cells stay as they are, empty cells stay empty; every cell ends
// trimmed.
void AllineaDecimali(std::vector<QStringList>& griglia, int colonne);

// The buffer limits of a renderer. A renderer that lays out cells gets a table or list only after its end
// directive, with one layout for all its rows (the column count and the decimals of every column taken over the
// whole table), in parts of at most `righeGriglia` rows; one that lays out none gets it in parts of `righeBuffer`
// rows as they are read.
struct LimitiDocumento {
  int righeBuffer = 2000;   // rows of a table or list buffered before they are rendered, without a cell grid
  int righeGriglia = 510;   // rows of a part laid out at once; 0: the renderer lays out no cells
  static LimitiDocumento ProgrammaPrincipale() { return {2000, 510}; }
  static LimitiDocumento SenzaGriglia() { return {2000, 0}; }  // the text renderer writes rows as they are
  // A report table becomes Word tables of at most 500 rows, each after the first under the head row again: a word
  // processor lays out a table as a whole, and one of thousands of rows takes it minutes or more. Every part has
  // the style of the directive that ends the whole table.
  static LimitiDocumento Wenlow() { return {500, 500}; }
};

// Which directives besides "#FONT", "#FONTSIZE", "#HEADER" and "#FOOTER" end a table or list mode in a renderer
// (the writers never put them inside a table; the renderers differ only for documents that do).
struct RegoleModo {
  bool tabStyleAzzeraModo = true;    // preview, printer, Word: true; text: false
  bool fontItalicAzzeraModo = true;  // printer, Word: true; text, preview: false
};

// A table or list ready to be rendered. A table longer than the renderer's buffers comes in consecutive parts,
// each after the first starting with the table's head row again; a list is cut into parts without a repeated row.
struct TabellaDocumento {
  ParolaChiave fine = ParolaChiave::EndTable;  // EndTable, EndTableLeftAlign, EndTableNoItalic or EndList
  bool lista = false;
  bool continuazione = false;  // a part after the first
  bool testaRipetuta = false;  // the part begins with the head row of its table again (its rows follow)
  QStringList righe;           // the rows as buffered (trimmed lines, cells separated by TAB)
  std::vector<QStringList> celle;  // the rows cut into cells and decimal-aligned (empty when the renderer lays
                                   // out no cells); every row has `colonne` cells
  int colonne = 0;                 // the cells of the widest row of the whole table
  // Every row of the whole table or list, laid out as `celle` (each once, in order), shared by all its parts: a
  // renderer measures its column widths on these, so that all the parts have one layout. The parts hold these rows
  // in this order, each part after the first of a table under a repeated head row. Null when the renderer lays out
  // no cells.
  std::shared_ptr<const std::vector<QStringList>> tutte;
};

class InterpreteDocumento {
 public:
  InterpreteDocumento(LimitiDocumento limiti, RegoleModo regole);
  virtual ~InterpreteDocumento();
  InterpreteDocumento(const InterpreteDocumento&) = delete;
  InterpreteDocumento& operator=(const InterpreteDocumento&) = delete;

  // The line procedure: trims the line in place (blanks only) and interprets it.
  void Riga(QString& riga);
  // The driver has reached the end of the file: a document still open (no "#ENDDOCUMENT") is finished as if it
  // had one (an open table or list is rendered first), so its output is complete. Returns false when the
  // renderer could not finish its output (ChiudiDocumento failed); true otherwise, also when nothing was open.
  bool FineFile();
  // True when the last document closed (by "#ENDDOCUMENT" or FineFile) finished its output.
  bool UltimaChiusuraRiuscita() const { return chiusuraRiuscita_; }

  // Document state (read by the renderers).
  bool DocumentoAperto() const { return aperto_; }
  int Modo() const { return modo_; }                  // 0 text, 2 table, 3 list
  int Allineamento() const { return allineamento_; }  // 0 left, 1 centred, 2 right
  const QString& Intestazione() const { return intestazione_; }
  const QString& PiePagina() const { return piePagina_; }
  const QString& StileTabulazione() const { return stile_; }
  const ArgomentoReset& Reset() const { return reset_; }
  const QString& NomeFont() const { return font_; }
  double DimensioneFont() const { return dimensione_; }
  bool Corsivo() const { return corsivo_; }
  const LimitiDocumento& Limiti() const { return limiti_; }

 protected:
  virtual void ApriDocumento(const ArgomentoReset& argomento) { (void)argomento; }
  virtual void ScriviTesto(const QString& riga) = 0;
  virtual void ScriviTabella(const TabellaDocumento& tabella) = 0;
  // Every directive other than "#RESET", "#ENDDOCUMENT", the starts and the ends of tables and lists, after the
  // common state has taken it ("#FONT", "#FONTSIZE", "#FONTITALIC", "#HEADER", "#FOOTER", "#LEFT", "#CENTER",
  // "#RIGHT", "#TABSTYLE", "#NEWPAGE", "#NEWPARAGRAPH", comments).
  virtual void Direttiva(const RigaDocumento& riga) { (void)riga; }
  // Finishes the output; false when it could not be finished (a file that cannot be written).
  virtual bool ChiudiDocumento() { return true; }

 private:
  void Chiudi();
  void AggiungiRiga(const QString& riga);
  void EmettiParte();
  void EmettiTabella();

  LimitiDocumento limiti_;
  RegoleModo regole_;
  bool aperto_ = false;
  int modo_ = 0;
  int allineamento_ = 0;
  QString intestazione_, piePagina_;
  QString stile_;
  ArgomentoReset reset_;
  QString font_;
  double dimensione_ = 0;
  bool corsivo_ = false;
  bool chiusuraRiuscita_ = true;
  // The table or list being collected.
  QStringList buffer_;
  QString testataTabella_;   // the head row of the table being collected
  bool parteEmessa_ = false;  // a part of it has been rendered already
  ParolaChiave fine_ = ParolaChiave::EndTable;
};
