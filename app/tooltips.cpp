#include "app/tooltips.h"

#include <array>
#include <string_view>

namespace app {

namespace {

using platform::ControlId;

struct Tooltip {
  ControlId id;
  std::string_view text;  // Windows-1252; CR LF breaks the line
};

constexpr std::array<Tooltip, 11> mainTooltips{{
    {ControlId::openButton,
     "\xD6"
     "ffnet eine Vcard-Datei"},
    {ControlId::saveButton,
     "speichern auf dem Datentr\xE4"
     "ger"},
    {ControlId::saveAsButton, "speichern in andere Vcard-Datei"},
    {ControlId::applyButton,
     "\xDC"
     "bernehmen der editierten \r\nWerte in die Tabelle"},
    {ControlId::deleteButton,
     "L\xF6"
     "scht den ausgew\xE4"
     "hlten Datensatz"},
    {ControlId::newButton, "neuen Datensatz erzeugen"},
    {ControlId::duplicateButton, "akt. Datensatz duplizieren"},
    {ControlId::filterEdit,
     "nur Tabellen-Eintr\xE4"
     "ge\r\nanzeigen, die diesen\r\nText enthalten"},
    {ControlId::listButton,
     "Liste der Eintr\xE4"
     "ge \r\nerzeugen"},
    {ControlId::mailButton,
     "Mail senden\r\n(\xD6"
     "ffne Mail-Sendefenster)"},
    {ControlId::resetFilterButton,
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
