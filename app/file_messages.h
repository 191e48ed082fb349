#pragma once

#include <string>
#include <string_view>

#include "document/document.h"
#include "platform/dialogs.h"

namespace app {

// The open or save dialog for an address file: the vCard filter, the suffix
// "vcf", starting at the file in use with its name proposed; a name without
// a Windows-1252 form is refused with "Dateiname ?".
[[nodiscard]] platform::FileDialogRequest addressFileDialog(std::string title,
                                                            std::string_view currentFile);

// Tells the user what went wrong with a load: a configured file that was
// missing at start ("Datei nicht gefunden", with the file shown instead), a
// missing file ("File ?"), a file without cards ("No Vcards !!"), each with
// its path; and names in one message ("Konfliktkopie") the new conflict
// copies beside a file read.
void reportLoad(const document::LoadOutcome& outcome, platform::Dialogs& dialogs);

// Tells the user of a copy for the backups that failed ("Sicherungskopie
// fehlgeschlagen !") and of a failed write ("Speichern fehlgeschlagen !"),
// each with its path, in that order.
void reportSave(const document::SaveOutcome& outcome, platform::Dialogs& dialogs);

// Asks whether to write over another program's changes to the file at path
// ("Datei ge\xE4ndert", Yes or No, No the default).
[[nodiscard]] bool confirmOverwrite(std::string_view path, platform::Dialogs& dialogs);

// Asks whether to save changes before they would be thrown away
// ("\xC4nderungen speichern ?", Yes, No or Cancel).
[[nodiscard]] platform::Answer askToSaveChanges(std::string_view path, platform::Dialogs& dialogs);

// Whether a chosen name can be kept in the configuration as it is; when it
// cannot, the user is told why, with the name ("Dateiname ?").
[[nodiscard]] bool acceptFileName(document::FileNameProblem problem, std::string_view path,
                                  platform::Dialogs& dialogs);

}  // namespace app
