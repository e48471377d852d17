// The DXF writer: the plot as an ASCII DXF drawing, every segment a LINE and every text a TEXT entity, in page
// centimetres, on 15 layers chosen by colour. The writer takes the plot engine's pen codes (DxfTraccia) and the
// recorded texts (DxfTesto); a sentinel value in place of a coordinate turns a call into a setting.
#pragma once

#include <QString>

// Passed in place of a coordinate, height or angle: DxfTraccia sets the line layer, DxfTesto the text layer or
// the text origin.
constexpr double SentinellaDxf = -403.1959;

struct StatoDxf {
  double CorrenteX = 0, CorrenteY = 0;      // the point of the latest DxfTraccia
  double PrecedenteX = 0, PrecedenteY = 0;  // where the next line starts
  double OrigineX = 0, OrigineY = 0;        // added to every line coordinate
  int StratoLinee = 0;
  double OrigineTestoX = 0, OrigineTestoY = 0;
  int StratoTesti = 0;
};

// The writer's globals, one copy per program.
struct ModuloDxf {
  QString StileTestoDxf = QStringLiteral("MONOTXT");
  StatoDxf Stato;
  int UltimoStrato = 0;  // the layer DxfColore chose last
  bool Aperto = false;
  bool Fallito = false;  // the file could not be written
};
extern ModuloDxf Dxf;

// Opens `name` (replacing it) and writes the header, the tables and the start of the entities. False when the
// folder cannot be written.
bool DxfApri(const QString& name, double xmin, double ymin, double xmax, double ymax);
void DxfIntestazione(double xmin, double ymin, double xmax, double ymax);
// Pen codes as Traccia: 2 or -2 write a LINE from the previous point, 999 ends and closes the file (Dxf.Fallito
// tells whether it was written), a negative code moves the origin.
void DxfTraccia(double x, double y, int code);
void DxfTesto(double x, double y, double h, const QString& text, double a, int k);
// The layer of a colour (red + 256 green + 65536 blue) for the following lines and texts.
void DxfColore(int colour);
// The layer number DxfColore gives for a colour, 0 when the colour has no layer of its own.
int StratoColore(int colour);

// The text style name of dxf.cfg in the program folder: one item alone on the first line, blanks around it
// dropped, and nothing but blank lines after it; "MONOTXT" when it is blank. The file is created with "MONOTXT"
// when nothing stands at the name. A file that cannot be read, a line with more than its item, or a name that holds
// a control character is said in a message, and "MONOTXT" is used.
QString LeggiStileDxf();

// Writes the display list of the current plot to `name`. False after a message when it could not be written.
bool ScriviDXF(const QString& name);
// The export command: asks for the file name (proposed from NomeFileDati) and writes it; nothing when cancelled.
void EsportaDXF();
// The file name the export proposes for a session file name.
QString NomeProposto(const QString& nomeFileDati);
