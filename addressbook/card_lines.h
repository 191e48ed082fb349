#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace addressbook {

// One line of a card as it stands in the card's text: from its first byte to
// the end of its line end, its folded continuations included.
struct CardLine {
  std::size_t begin = 0;
  std::size_t end = 0;
  // Up to the first fold or the line end: enough for the property's name
  // and parameters, which no program folds.
  std::string_view head;
  bool folded = false;
  // A quoted-printable value that ends in a soft line break: it would go on
  // in whatever line followed it.
  bool endsInSoftBreak = false;
};

// The lines of a card's text (CR LF line ends): a line that starts with a
// blank or a tab continues the line before (folding), and so does every
// line after a quoted-printable value that ends in "=" (a soft line break of
// vCard 2.1, which many programs do not fold).
[[nodiscard]] std::vector<CardLine> cardLines(std::string_view card);

// The line with its folds and soft line breaks taken out: the blank or tab
// after each fold goes, and so does the "=" before a soft line break.
[[nodiscard]] std::string unfold(std::string_view card, const CardLine& line);

}  // namespace addressbook
