#include "app/file_messages.h"

#include "platform/path.h"

namespace app {

namespace {

using platform::Answer;
using platform::MessageButtons;
using platform::MessageIcon;

constexpr std::string_view fileNameCaption = "Dateiname ?";

std::string_view problemText(document::FileNameProblem problem) {
  switch (problem) {
    case document::FileNameProblem::tooLong:
      return "Dieser Dateiname ist zu lang (h\xF6"
             "chstens 255 Zeichen):";
    case document::FileNameProblem::controlCharacter:
      return "Dieser Dateiname enth\xE4lt Steuerzeichen:";
    case document::FileNameProblem::blankAtEnd:
      return "Dieser Dateiname beginnt oder endet mit einem Leerzeichen:";
    case document::FileNameProblem::none:
      break;
  }
  return {};
}

void reportConflictCopies(const std::vector<std::string>& copies, platform::Dialogs& dialogs) {
  if (copies.empty()) return;
  std::string text = "\xC4nderungen eines anderen Ger\xE4ts stehen in:";
  for (const std::string& copy : copies) text += "\r\n" + copy;
  text +=
      "\r\nZum Ansehen mit dem \xD6"
      "ffnen-Knopf laden.";
  dialogs.messageBox(text, "Konfliktkopie", MessageButtons::ok, MessageIcon::exclamation);
}

}  // namespace

platform::FileDialogRequest addressFileDialog(std::string title, std::string_view currentFile) {
  return {.title = std::move(title),
          .filterName = "vcard",
          .filterPattern = "*.vcf",
          .defaultSuffix = "vcf",
          .initialPath = std::string(currentFile),
          .proposedName = std::string(platform::path::nameOf(currentFile)),
          .refusalCaption = std::string(fileNameCaption),
          .refusalText =
              "Dieser Dateiname enth\xE4lt Zeichen, die das Programm nicht verwenden kann:\r\n"};
}

void reportLoad(const document::LoadOutcome& outcome, platform::Dialogs& dialogs) {
  if (!outcome.missingConfiguredFile.empty()) {
    std::string text = outcome.missingConfiguredFile + "\r\nwurde nicht gefunden. Angezeigt wird " +
                       outcome.path +
                       ".\r\nBeim n\xE4"
                       "chsten Start wird die Datei wieder gesucht.";
    dialogs.messageBox(text, "Datei nicht gefunden", MessageButtons::ok, MessageIcon::exclamation);
  }
  switch (outcome.result) {
    case document::ReadResult::missing:
      dialogs.messageBox(outcome.path, "File ?");
      break;
    case document::ReadResult::noCards:
      dialogs.messageBox(outcome.path, "No Vcards !!");
      break;
    case document::ReadResult::read:
      reportConflictCopies(outcome.conflictCopies, dialogs);
      break;
    case document::ReadResult::same:
      break;
  }
}

void reportSave(const document::SaveOutcome& outcome, platform::Dialogs& dialogs) {
  if (outcome.failedBackup)
    dialogs.messageBox(*outcome.failedBackup, "Sicherungskopie fehlgeschlagen !");
  if (outcome.result == document::SaveResult::failed)
    dialogs.messageBox(outcome.path, "Speichern fehlgeschlagen !");
}

bool confirmOverwrite(std::string_view path, platform::Dialogs& dialogs) {
  std::string text = std::string(path) +
                     "\r\nwurde seit dem Laden von einem anderen Programm ge\xE4ndert."
                     "\r\nTrotzdem speichern ?";
  return dialogs.messageBox(text, "Datei ge\xE4ndert", MessageButtons::yesNo,
                            MessageIcon::exclamation, Answer::no) == Answer::yes;
}

Answer askToSaveChanges(std::string_view path, platform::Dialogs& dialogs) {
  return dialogs.messageBox(path, "\xC4nderungen speichern ?", MessageButtons::yesNoCancel,
                            MessageIcon::exclamation);
}

bool acceptFileName(document::FileNameProblem problem, std::string_view path,
                    platform::Dialogs& dialogs) {
  if (problem == document::FileNameProblem::none) return true;
  // With the warning icon that the file dialogs' own refusal shows as well.
  dialogs.messageBox(std::string(problemText(problem)) + "\r\n" + std::string(path),
                     fileNameCaption, MessageButtons::ok, MessageIcon::exclamation);
  return false;
}

}  // namespace app
