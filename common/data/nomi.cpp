#include "common/data/nomi.h"

#include "common/platform/textio.h"

QString StemSessione(const QString& nome) {
  const qsizetype punto = nome.indexOf(QLatin1Char('.'));
  return punto < 0 ? nome : nome.left(punto);
}

bool HaStem(const QString& nome) { return nome.indexOf(QLatin1Char('.')) > 0; }

QString FileStem(const QString& nome, const QString& estensione) { return StemSessione(nome) + estensione; }

QString FileTabella(const QString& nome, const QString& estensione) {
  return nome.left(nome.size() > 3 ? nome.size() - 3 : 0) + estensione;
}

std::optional<char32_t> CarattereNonAmmessoNelNome(const QString& nome) {
  if (const auto c = plat::CharacterALineCannotHold(nome)) return c;
  if (nome.startsWith(QLatin1Char(' ')) || nome.endsWith(QLatin1Char(' '))) return U' ';
  return std::nullopt;
}
