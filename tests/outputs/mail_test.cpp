#include "outputs/mail.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "table/control_ids.h"
#include "tests/fakes/fake_shell.h"
#include "tests/fakes/fake_window.h"

namespace {

struct MailCase {
  std::string address, subject, body;
  std::string url;
};

TEST(MailtoUrl, joinsTheThreePartsEscapingTheAddressSoItAddsNoFieldsAndABodyOfTwoOrMore) {
  const std::vector<MailCase> cases = {
      {"anna@example.org", "", "", "mailto:anna@example.org?Subject=&Body="},
      {"", "", "", "mailto:?Subject=&Body="},
      {"a b&c@x.de", "", "", "mailto:a b&c@x.de?Subject=&Body="},
      {"x@y", "Hallo Welt & mehr", "", "mailto:x@y?Subject=Hallo Welt & mehr&Body="},
      {"x@y", "", "a ", "mailto:x@y?Subject=&Body=a%20"},
      {"x@y", "", " ", "mailto:x@y?Subject=&Body= "},
      {"x@y", "", "&", "mailto:x@y?Subject=&Body=&"},
      {"x@y", "", "&&", "mailto:x@y?Subject=&Body=%26%26"},
      {"x@y", "", "Zeile 1\r\nZeile 2\r\n",
       "mailto:x@y?Subject=&Body=Zeile%201%0d%0aZeile%202%0d%0a"},
      {"x@y", "", "a\tb\nc", "mailto:x@y?Subject=&Body=a%09b%0ac"},
      {"x@y", "", "100% ?=\xE4\xDF", "mailto:x@y?Subject=&Body=100%%20?=\xE4\xDF"},
      // Hostile addresses: no "?" or "#" and no control character of the
      // address reaches the link as it is; blanks, "&", "%" and "=" stay.
      {"x@y?attach=/etc/passwd&bcc=spy@evil.example", "", "",
       "mailto:x@y%3fattach=/etc/passwd&bcc=spy@evil.example?Subject=&Body="},
      {"x@y#frag", "S", "a b", "mailto:x@y%23frag?Subject=S&Body=a%20b"},
      {"x@y\r\nBcc: spy@evil.example", "", "",
       "mailto:x@y%0d%0aBcc: spy@evil.example?Subject=&Body="},
      {std::string("a\0b\t\x1F\x7F", 6), "", "", "mailto:a%00b%09%1f%7f?Subject=&Body="},
      {"?", "", "", "mailto:%3f?Subject=&Body="},
      {"anna m\xFCller & co@x.de 100%=", "", "",
       "mailto:anna m\xFCller & co@x.de 100%=?Subject=&Body="},
      // '"' and '\' in any part: the link stays one argument of a command line.
      {"anna@example.org\" /a \"C:\\Users\\Public\\geheim.docx", "", "",
       "mailto:anna@example.org%22 /a %22C:%5cUsers%5cPublic%5cgeheim.docx?Subject=&Body="},
      {"x@y\\", "\"", "\"", "mailto:x@y%5c?Subject=%22&Body=%22"},
  };
  for (const MailCase& c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(outputs::mailtoUrl(c.address, c.subject, c.body), c.url);
  }
}

// The arguments Windows programs take from a command line
// (CommandLineToArgvW's rules): blanks split outside quotes; 2n backslashes
// before a '"' give n and the quote toggles, 2n+1 give n and a literal '"'.
std::vector<std::string> windowsArguments(std::string_view line) {
  std::vector<std::string> arguments;
  std::string current;
  bool quoted = false;
  bool inArgument = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    std::size_t backslashes = 0;
    while (i < line.size() && line[i] == '\\') ++backslashes, ++i;
    if (i < line.size() && line[i] == '"') {
      current.append(backslashes / 2, '\\');
      if (backslashes % 2 == 1) {
        current += '"';
      } else {
        quoted = !quoted;
      }
      inArgument = true;
      continue;
    }
    current.append(backslashes, '\\');
    if (i == line.size()) break;
    if ((line[i] == ' ' || line[i] == '\t') && !quoted) {
      if (inArgument || !current.empty()) arguments.push_back(std::exchange(current, {}));
      inArgument = false;
    } else {
      current += line[i];
      inArgument = true;
    }
  }
  if (inArgument || !current.empty()) arguments.push_back(current);
  return arguments;
}

// The mail program's command line as Windows registers it ("...\outlook.exe"
// /m "%1"): the link arrives as one argument, whatever the fields hold.
TEST(MailtoUrl, staysOneArgumentOfTheMailProgramsCommandLine) {
  for (const std::string& address :
       {std::string("anna@example.org\" /a \"C:\\geheim.docx"), std::string("a@b\\"),
        std::string("a@b\\\" \\\\\" x"), std::string("a b\t@c")}) {
    std::string url = outputs::mailtoUrl(address, "\"", "\\\" x");
    SCOPED_TRACE(url);
    EXPECT_EQ(windowsArguments("OUTLOOK.EXE /m \"" + url + "\""),
              (std::vector<std::string>{"OUTLOOK.EXE", "/m", url}));
  }
}

TEST(MailtoUrl, isCutTo49999Characters) {
  const std::string prefix = "mailto:";
  // Address alone fills the link: the subject and body parts vanish.
  std::string longAddress(60'000, 'a');
  EXPECT_EQ(outputs::mailtoUrl(longAddress, "S", "body"), (prefix + longAddress).substr(0, 49'999));
  std::string exactAddress(49'999 - prefix.size(), 'b');
  EXPECT_EQ(outputs::mailtoUrl(exactAddress, "S", "B"), prefix + exactAddress);

  // Room left for "?S" only.
  std::string nearlyFull(49'999 - prefix.size() - 2, 'c');
  EXPECT_EQ(outputs::mailtoUrl(nearlyFull, "S", "B"), prefix + nearlyFull + "?S");

  // The escaped body is cut too, even inside an escape.
  std::string address(49'999 - prefix.size() - 16, 'd');
  std::string url = outputs::mailtoUrl(address, "", "x y");
  EXPECT_EQ(url.size(), 49'999U);
  EXPECT_EQ(url.substr(url.size() - 16), "?Subject=&Body=x");
  url = outputs::mailtoUrl(address.substr(2), "", "x y");
  EXPECT_EQ(url.substr(url.size() - 18), "?Subject=&Body=x%2");

  // So is the escaped address.
  std::string escapedAtTheEnd(49'999 - prefix.size() - 1, 'e');
  EXPECT_EQ(outputs::mailtoUrl(escapedAtTheEnd + "?", "S", "B"), prefix + escapedAtTheEnd + "%");
}

TEST(ComposeMail, opensTheLinkForTheEmailFieldAsItIs) {
  testing_support::FakeWindow window;
  testing_support::FakeShell shell;
  window.setText(table::control::emailEdit, " anna m\xFCller@example.org ");
  outputs::composeMail(window, shell);
  window.setText(table::control::emailEdit, "");
  outputs::composeMail(window, shell);
  EXPECT_EQ(shell.urls,
            (std::vector<std::string>{"mailto: anna m\xFCller@example.org ?Subject=&Body=",
                                      "mailto:?Subject=&Body="}));
  EXPECT_TRUE(shell.files.empty());
}

}  // namespace
