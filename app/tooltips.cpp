#include "app/tooltips.h"

#include <array>
#include <string_view>

#include "table/control_ids.h"

namespace app {

namespace {

using platform::ControlId;
namespace control = table::control;

struct Tooltip {
  ControlId id;
  std::string_view text;  // Windows-1252; CR LF breaks the line
};

constexpr std::array<Tooltip, 11> mainTooltips{{
    {control::openButton,
     "\xD6"
     "ffnet eine Vcard-Datei"},
    {control::saveButton,
     "speichern auf dem Datentr\xE4"
     "ger"},
    {control::saveAsButton, "speichern in andere Vcard-Datei"},
    {control::applyButton,
     "\xDC"
     "bernehmen der editierten \r\nWerte in die Tabelle"},
    {control::deleteButton,
     "L\xF6"
     "scht den ausgew\xE4"
     "hlten Datensatz"},
    {control::newButton, "neuen Datensatz erzeugen"},
    {control::duplicateButton, "akt. Datensatz duplizieren"},
    {control::filterEdit,
     "nur Tabellen-Eintr\xE4"
     "ge\r\nanzeigen, die diesen\r\nText enthalten"},
    {control::listButton,
     "Liste der Eintr\xE4"
     "ge \r\nerzeugen"},
    {control::mailButton,
     "Mail senden\r\n(\xD6"
     "ffne Mail-Sendefenster)"},
    {control::resetFilterButton,
     "Filter zur\xFC"
     "cksetzen"},
}};

}  // namespace

void attachMainTooltips(platform::Window& window) {
  for (const Tooltip& tooltip : mainTooltips) {
    if (!window.isAlive()) return;
    window.addTooltip(tooltip.id, tooltip.text);
  }
}

}  // namespace app
