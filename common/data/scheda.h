// Survey sheets: the sheet file (nine header lines, a count line, one 52-character discontinuity record per line),
// its reader and writer, and the fixed columns of a record.
#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <optional>
#include <vector>

// Fixed columns of a discontinuity record, fields 1 to 14 (Nu, Dist, Ti, Imm, Inc, Lu, Sp, Ri, Ac, For, Ap, Sca,
// Lit, Du): first character (1-based) and width. Every program of the suite cuts records at these positions.
inline constexpr int kLunghezzaRecord = 52;
inline constexpr int kNumeroCampiRecord = 14;
inline constexpr std::array<int, 15> kInizioCampo = {0, 2, 5, 10, 13, 17, 21, 23, 25, 27, 29, 33, 36, 40, 44};
inline constexpr std::array<int, 15> kLarghezzaCampo = {0, 2, 4, 2, 3, 3, 1, 1, 1, 1, 3, 2, 3, 3, 2};
// Field numbers by name.
enum CampoRecord : int { Nu = 1, Dist, Ti, Imm, Inc, Lu, Sp, Ri, Ac, For, Ap, Sca, Lit, Du };

// Records the main program keeps in one sheet (its editing grid and the sheets it writes).
inline constexpr int kMassimoRigheScheda = 500;

struct ModuloScheda {
  QString FileScheda;                       // path of the sheet file
  std::vector<QString> IntestazioneScheda;  // entries 1..9: header lines; entry 10: the count line as read
  std::vector<QString> RigheScheda;         // entries 1..NumeroRigheScheda: records of exactly 52 characters
  int NumeroRigheScheda = 0;
  ModuloScheda();
};

// A text cut or padded with blanks to exactly 52 characters (the fixed-length record).
QString RecordFisso(const QString& testo);
// The text of field `campo` (1..14) of a record, at its full width (blanks included); a short record is padded.
QString CampoDelRecord(const QString& record, int campo);
// The number a field of a record or a header value holds, as every reader of sheets takes it: a blank field is 0,
// anything else is the number written there as the sheet's forms and grid write it (dati::NumeroDaRiga); nothing
// when the field holds no such number (quotes, a control character, a letter, "1,5").
std::optional<double> NumeroCampo(QStringView testo);
// The value of field `campo` of a record as every user of a sheet takes it (NumeroCampo): TALVOR, MIRVANE, the
// selection test and the sheet report. A field that holds no number, which NumeriDelRecord refuses, gives 0.
double ValoreCampo(const QString& record, int campo);
// True when the text holds nothing but blanks.
bool SoloSpazi(const QString& testo);

// Empties a sheet: header lines 1 to 9 "", every record 52 blanks, no records in use (FileScheda is kept).
void AzzeraScheda(ModuloScheda& s);

enum class EsitoScheda {
  Letta,        // read
  Illeggibile,  // nothing stands at the name, or what stands there is no regular file or cannot be read
  Incompleta,   // it ends before its count line, or is larger than any sheet, or holds a CR that ends no line
  TroppeRighe,  // more non-blank records than the reader's limit: nothing is kept
};
// Reads a sheet file into `s`: nine header lines, the count line (its value is not used), then every line to the
// end of the file as a record, padded or cut to 52 characters; blank records are dropped. `s` is emptied first
// and stays empty on a failure. `massimo` is the number of records the caller keeps. `linee` (optional) receives
// the line of the file that holds each record kept (entries 1..NumeroRigheScheda), for messages; `riga`
// (optional) the line of a CR that ends no line (Incompleta), else 0.
EsitoScheda LeggiFileScheda(const QString& percorso, ModuloScheda& s, int massimo = kMassimoRigheScheda,
                            std::vector<int>* linee = nullptr, int* riga = nullptr);

// The numeric fields of a record and the range each may hold, as the sheet's grid takes them: Nu 1 to 99, Dist 0
// to 9999, Imm 0 to 360, Inc 0 to 90, Ap 0 to 99.
struct LimitiCampo {
  int campo;
  double minimo, massimo;
};
inline constexpr std::array<LimitiCampo, 5> kCampiNumerici = {
    {{Nu, 1, 99}, {Dist, 0, 9999}, {Imm, 0, 360}, {Inc, 0, 90}, {Ap, 0, 99}}};
// True when every numeric field of a record is blank (read as 0; a blank Nu counts as one discontinuity) or one
// finite number within its range, with blanks around it ("4O", "1,5", "1x", "3-", "." or "9e" are no number).
bool NumeriDelRecord(const QString& record);

// The numbers of the header: the measuring line's direction and inclination on line 3 ("120/15", on either side
// of its first "/"), its length on line 5, the record count on line 10; the range of each, as the sheet's form
// takes them (the count: a whole number from 0).
enum ValoreTestata : int { DirezioneStendimento = 1, InclinazioneStendimento, LunghezzaStendimento, ConteggioRecord };
struct LimitiTestata {
  int valore;  // ValoreTestata
  double minimo, massimo;
};
inline constexpr std::array<LimitiTestata, 3> kValoriStendimento = {
    {{DirezioneStendimento, 0, 360}, {InclinazioneStendimento, -90, 90}, {LunghezzaStendimento, 0, 10000}}};

// A value of a sheet that its readers refuse.
struct ValoreRifiutato {
  int riga = 0;    // the line of the file
  int record = 0;  // the record (1..NumeroRigheScheda) that holds it; 0: a header value
  int campo = 0;   // the record's field (CampoRecord), or for a header value its ValoreTestata
  QString testo;   // the value as it stands (the field at its full width, the text of the header value)
};
// Every number of a sheet read by LeggiFileScheda that the checks of NumeriDellaScheda refuse, in the order of the
// file (the header values, then each record's fields in the order of the record); `linee` as for
// NumeriDellaScheda. Empty when the sheet is sound.
std::vector<ValoreRifiutato> ValoriRifiutati(const ModuloScheda& s, const std::vector<int>& linee);

// The measuring line of a sheet: direction and inclination from header line 3 ("120/15"), the length from line 5.
struct StendimentoScheda {
  bool Presente = false;  // line 3 holds a "/"
  double Direzione = 0, Inclinazione = 0, Lunghezza = 0;
};
// The numbers of a sheet read by LeggiFileScheda (with the line of each record in `linee`), checked as every reader
// of sheets takes them and as the sheet's forms and grid write them: on header line 3 the text before the first
// "/" blank or a direction from 0 to 360 and the text after it blank or an inclination from -90 to 90; on line 5
// blank or a length from 0 to 10000; on line 10 one whole number from 0 (its value is not used); every record as
// NumeriDelRecord. False with the line of the first fault in `riga`. `stendimento` (optional) receives the
// measuring line (blank values as 0).
bool NumeriDellaScheda(const ModuloScheda& s, const std::vector<int>& linee, StendimentoScheda* stendimento,
                       int* riga);

// Writes a sheet file anew: nine header lines, the count line, the non-blank records in order and one line of 52
// blanks per blank record. False (the old file untouched) when it cannot be written.
bool ScriviFileScheda(const QString& percorso, const ModuloScheda& s);
