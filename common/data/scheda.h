// Survey sheets: the sheet file (nine header lines, a count line, one 52-character discontinuity record per line),
// its reader and writer, and the fixed columns of a record.
#pragma once

#include <QString>

#include <array>
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
  std::vector<QString> IntestazioneScheda;  // entries 1..9: header lines
  std::vector<QString> RigheScheda;         // entries 1..NumeroRigheScheda: records of exactly 52 characters
  int NumeroRigheScheda = 0;
  ModuloScheda();
};

// A text cut or padded with blanks to exactly 52 characters (the fixed-length record).
QString RecordFisso(const QString& testo);
// The text of field `campo` (1..14) of a record, at its full width (blanks included); a short record is padded.
QString CampoDelRecord(const QString& record, int campo);
// The numeric value of field `campo` of a record (blanks ignored, an empty field gives 0).
double ValoreCampo(const QString& record, int campo);
// True when the text holds nothing but blanks.
bool SoloSpazi(const QString& testo);

// Empties a sheet: header lines 1 to 9 "", every record 52 blanks, no records in use (FileScheda is kept).
void AzzeraScheda(ModuloScheda& s);

enum class EsitoScheda {
  Letta,        // read
  Illeggibile,  // the file cannot be opened
  Incompleta,   // it ends before its count line
  TroppeRighe,  // more non-blank records than the reader's limit: nothing is kept
};
// Reads a sheet file into `s`: nine header lines, the count line (its value is not used), then every line to the
// end of the file as a record, padded or cut to 52 characters; blank records are dropped. `s` is emptied first
// and stays empty on a failure. `massimo` is the number of records the caller keeps. `linee` (optional) receives
// the line of the file that holds each record kept (entries 1..NumeroRigheScheda), for messages.
EsitoScheda LeggiFileScheda(const QString& percorso, ModuloScheda& s, int massimo = kMassimoRigheScheda,
                            std::vector<int>* linee = nullptr);

// True when the distance, dip direction and dip of a record are numbers as the analysis programs take them: each
// field blank (read as 0) or one finite number with blanks around it ("4O", "1,5" or "3-" are no number).
bool NumeriDelRecord(const QString& record);
// The length of the measuring line (header line 5) as the cluster analysis takes it: blank (no length, 0) or a
// finite number from 0. False for anything else ("abc", "-42", "1e999").
bool LunghezzaStendimentoScheda(const QString& riga, double& lunghezza);

// Writes a sheet file anew: nine header lines, the count line, the non-blank records in order and one line of 52
// blanks per blank record. False (the old file untouched) when it cannot be written.
bool ScriviFileScheda(const QString& percorso, const ModuloScheda& s);
