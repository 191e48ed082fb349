#include "app/main_window_definition.h"

#include <array>
#include <string_view>

#include "table/control_ids.h"

namespace app {

namespace {

using platform::Alignment;
using platform::ControlDefinition;
using platform::ControlId;
namespace control = table::control;
using platform::ControlKind;
using platform::FontDefinition;
using platform::FontId;

constexpr ControlDefinition edit(ControlId id, int x, int y, int width, int height,
                                 FontId font = FontId::field) {
  return {id, ControlKind::edit, {}, x, y, width, height, font};
}

constexpr ControlDefinition digitsEdit(ControlId id, int x, int y, int width, int height) {
  return {id, ControlKind::digitsEdit, {}, x, y, width, height, FontId::field};
}

enum class Picture { natural, scaled };
enum class Shown { always, afterTelephoneAnswered };

constexpr ControlDefinition pictureButton(ControlId id, std::string_view picture, int pictureSize,
                                          int x, int y, int width, int height,
                                          std::string_view accessibleName,
                                          Picture fit = Picture::natural,
                                          Shown shown = Shown::always) {
  return {id,
          ControlKind::pictureButton,
          picture,
          x,
          y,
          width,
          height,
          FontId::defaultFont,
          Alignment::centreBoth,
          fit == Picture::scaled,
          shown == Shown::afterTelephoneAnswered,
          pictureSize,
          accessibleName};
}

constexpr ControlDefinition label(ControlId id, std::string_view text, Alignment alignment, int x,
                                  int y, int width, int height, FontId font = FontId::notes) {
  return {id, ControlKind::label, text, x, y, width, height, font, alignment};
}

constexpr auto dialHidden = Shown::afterTelephoneAnswered;

// Texts are Windows-1252: \xC4 \xD6 \xDC \xE4 \xF6 \xFC are the umlauts.
constexpr std::array controls{
    edit(control::nameEdit, 264, 45, 186, 21),
    edit(control::firstNameEdit, 264, 79, 147, 21),
    edit(control::workPhoneEdit, 588, 48, 112, 21),
    edit(control::homePhoneEdit, 588, 90, 112, 21),
    edit(control::mobileEdit, 588, 133, 112, 21),
    edit(control::faxEdit, 588, 176, 112, 21),
    ControlDefinition{
        control::notesEdit, ControlKind::multiLineEdit, {}, 805, 35, 196, 173, FontId::notes},
    pictureButton(control::applyButton, "apply", 24, 20, 180, 36, 32,
                  "\xDC"
                  "bernehmen"),
    pictureButton(control::deleteButton, "delete", 24, 66, 180, 32, 32, "L\xF6schen"),
    pictureButton(control::newButton, "new", 32, 108, 180, 32, 32, "Neu"),
    pictureButton(control::duplicateButton, "duplicate", 24, 150, 179, 32, 32, "Duplizieren"),
    digitsEdit(control::dayEdit, 264, 113, 28, 21),
    digitsEdit(control::monthEdit, 298, 113, 28, 21),
    digitsEdit(control::yearEdit, 332, 113, 44, 21),
    digitsEdit(control::hourEdit, 444, 112, 28, 21),
    digitsEdit(control::minuteEdit, 480, 112, 28, 21),
    edit(control::emailEdit, 264, 149, 150, 21, FontId::defaultFont),
    edit(control::filterEdit, 264, 187, 104, 21),
    pictureButton(control::openButton, "open", 32, 0, 0, 32, 32,
                  "\xD6"
                  "ffnen"),
    pictureButton(control::saveAsButton, "save-as", 24, 72, 0, 32, 32, "Speichern unter"),
    pictureButton(control::listButton, "list", 32, 108, 0, 32, 32, "Liste"),
    pictureButton(control::settingsButton, "settings", 24, 145, 0, 32, 32, "Einstellungen"),
    pictureButton(control::mailButton, "mail", 32, 420, 144, 38, 37, "Mail senden",
                  Picture::scaled),
    pictureButton(control::dialWorkButton, "dial", 32, 713, 36, 37, 37, "W\xE4hlen dienstlich",
                  Picture::natural, dialHidden),
    pictureButton(control::hangUpWorkButton, "hang-up", 32, 757, 36, 38, 36, "Auflegen dienstlich",
                  Picture::scaled, dialHidden),
    pictureButton(control::dialHomeButton, "dial", 32, 714, 81, 37, 37, "W\xE4hlen privat",
                  Picture::natural, dialHidden),
    pictureButton(control::hangUpHomeButton, "hang-up", 32, 758, 82, 38, 36, "Auflegen privat",
                  Picture::scaled, dialHidden),
    pictureButton(control::dialMobileButton, "dial", 32, 715, 124, 37, 37, "W\xE4hlen mobil",
                  Picture::natural, dialHidden),
    pictureButton(control::hangUpMobileButton, "hang-up", 32, 758, 125, 38, 36, "Auflegen mobil",
                  Picture::scaled, dialHidden),
    label(control::titleLabel, "Telefonverzeichnis", Alignment::left, 344, 4, 294, 32,
          FontId::title),
    // The window text of the table is never shown.
    ControlDefinition{control::recordTable, ControlKind::table, "Listview3", 8, 224, 999, 312},
    // The status bar takes its place along the bottom edge by itself.
    ControlDefinition{control::statusBar, ControlKind::statusBar, "SBar1", 0, 0, 0, 0},
    // Inside the status bar, in its coordinates.
    ControlDefinition{control::progressBar, ControlKind::progressBar, {}, 46, 3, 210, 18},
    label(control::nameCaption, "Name: ", Alignment::right, 217, 48, 41, 16),
    label(control::firstNameCaption, "Vorname: ", Alignment::right, 198, 79, 62, 16),
    label(control::homePhoneCaption, "Tel. ( privat )", Alignment::centre, 506, 92, 77, 16),
    label(control::workPhoneCaption, "Tel. (dienstl.)", Alignment::centre, 504, 49, 80, 16),
    label(control::mobileCaption, "Mobil", Alignment::centre, 543, 135, 41, 17),
    label(control::emailCaption, "E- Mail:", Alignment::centre, 208, 151, 56, 18),
    label(control::birthdayCaption, "Geburtstag:", Alignment::centre, 189, 116, 69, 18),
    label(control::timeCaption, "Zeit:", Alignment::centre, 416, 114, 27, 18),
    label(control::filterCaption, "Suchfilter:", Alignment::centre, 198, 189, 65, 16),
    label(control::daySeparator, ".", Alignment::centreBoth, 291, 106, 8, 28, FontId::separator),
    label(control::monthSeparator, ".", Alignment::centreBoth, 323, 106, 10, 28, FontId::separator),
    label(control::timeSeparator, ":", Alignment::centreBoth, 472, 107, 8, 26, FontId::separator),
    ControlDefinition{.id = control::rowLabel,
                      .kind = ControlKind::label,
                      .text = "0000",
                      .x = 456,
                      .y = 188,
                      .width = 54,
                      .height = 20,
                      .font = FontId::rowLabel,
                      .alignment = Alignment::centreBoth,
                      .highlighted = true},
    label(control::rowCaption, "Zeile:", Alignment::centre, 416, 190, 35, 18),
    label(control::notesCaption, "Notizen", Alignment::left, 876, 15, 46, 16),
    label(control::faxCaption, "Fax ", Alignment::centre, 554, 178, 34, 17),
    ControlDefinition{control::telephonePicture, ControlKind::picture, "telephone", 52, 52, 100,
                      110},
    // Room for an age of three digits, "(126J)", between the year field and
    // the time caption.
    label(control::ageLabel, "J", Alignment::centre, 377, 114, 39, 18),
    pictureButton(control::saveButton, "save", 24, 36, 0, 32, 32, "Speichern"),
    pictureButton(control::resetFilterButton, "reset-filter", 32, 376, 184, 24, 24,
                  "Filter zur\xFC"
                  "cksetzen",
                  Picture::scaled),
};
static_assert(controls.size() == 53);

// Where the faces of the desktop it was drawn for are missing: a sans serif
// with the metrics of Arial, and for the title a bold geometric display face
// from the URW set of Debian (fonts-urw-base35), else DejaVu.
constexpr std::array<std::string_view, 2> sansSubstitutes{"Liberation Sans", "DejaVu Sans"};
constexpr std::array<std::string_view, 2> displaySubstitutes{"URW Gothic", "DejaVu Sans"};

constexpr std::string_view sansFace = "MS Sans Serif";

constexpr std::array fonts{
    FontDefinition{FontId::defaultFont, sansFace, sansSubstitutes, 8, false, false},
    FontDefinition{FontId::field, sansFace, sansSubstitutes, 10, true, false},
    FontDefinition{FontId::notes, sansFace, sansSubstitutes, 10, false, false},
    FontDefinition{FontId::title, "Serpentine ICG", displaySubstitutes, 20, true, true},
    FontDefinition{FontId::separator, sansFace, sansSubstitutes, 18, false, false},
    FontDefinition{FontId::rowLabel, sansFace, sansSubstitutes, 12, true, false},
};

constexpr std::array statusPartWidths{260, 120, 90, 390, 2000};

constexpr platform::WindowDefinition window{
    .title = "Morvi-Telefonbuch V2.72",
    .clientWidth = 1011,
    .clientHeight = 563,
    .background = {175, 217, 157},
    .highlightBackground = {229, 229, 229},
    .tableBackground = {146, 231, 222},
    .statusPartWidths = statusPartWidths,
    .progressX = 46,
    .progressY = 3,
    .progressWidth = 210,
    .progressHeight = 18,
    .timerMilliseconds = 100,
    .controls = controls,
    .fonts = fonts,
};

}  // namespace

const platform::WindowDefinition& mainWindowDefinition() { return window; }

}  // namespace app
