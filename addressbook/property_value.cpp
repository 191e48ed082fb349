#include "addressbook/property_value.h"

#include <algorithm>

#include "addressbook/file_text.h"
#include "text/cp1252.h"

namespace addressbook {

namespace {

constexpr char lineBreak = '\x07';

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string decodeQuotedPrintable(std::string_view value) {
  std::string bytes;
  bytes.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    int high = i + 2 < value.size() && value[i] == '=' ? hexValue(value[i + 1]) : -1;
    int low = high >= 0 ? hexValue(value[i + 2]) : -1;
    if (low >= 0) {
      bytes += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      bytes += value[i];
    }
  }
  return bytes;
}

// CR LF, and a CR or LF alone, as the program's line break.
std::string withLineBreaks(std::string text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      out += lineBreak;
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string unescape(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    char next = value[++i];
    if (next == 'n' || next == 'N') {
      out += lineBreak;
    } else if (next == ',' || next == ';' || next == '\\' || next == ':') {
      out += next;
    } else {
      out += '\\';
      out += next;
    }
  }
  return out;
}

std::string escape(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (char c : text) {
    if (c == '\\' || c == ',' || c == ';') {
      out += '\\';
      out += c;
    } else if (c == lineBreak) {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::string encodeQuotedPrintable(std::string_view bytes) {
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char c : bytes) {
    auto byte = static_cast<unsigned char>(c);
    if (c == lineBreak) {
      out += "=0D=0A";
    } else if (byte >= 0x20 && byte < 0x7F && c != '=') {
      out += c;
    } else {
      out += '=';
      out += hex[byte >> 4];
      out += hex[byte & 0x0F];
    }
  }
  return out;
}

// Whether the value is already the program's text: plain ASCII with
// nothing to unescape, no line break, no quoted-printable code.
bool needsNoDecoding(std::string_view value, const ValueForm& form) {
  return std::ranges::none_of(value, [&](char c) {
    return static_cast<unsigned char>(c) >= 0x80 || c == '\\' || c == '\r' || c == '\n' ||
           (c == '=' && form.quotedPrintable);
  });
}

}  // namespace

ValueForm valueFormOf(const ContentLine& line, int version) {
  Parameters parameters;
  if (!line.parameters.empty()) parameters = readParameters(line.parameters);
  ValueForm form;
  form.quotedPrintable = parameters.quotedPrintable;
  form.escaped = version >= 30;
  const std::optional<std::string_view>& charset = parameters.charset;
  if (version >= 30 || (charset && equalsIgnoringCase(*charset, "UTF-8"))) {
    form.charset = ValueForm::Charset::utf8;
  } else if (!charset) {
    form.charset = ValueForm::Charset::unnamed;
  } else if (equalsIgnoringCase(*charset, "ISO-8859-1") ||
             equalsIgnoringCase(*charset, "WINDOWS-1252") ||
             equalsIgnoringCase(*charset, "US-ASCII") || equalsIgnoringCase(*charset, "ASCII")) {
    form.charset = ValueForm::Charset::windows1252;
  } else {
    form.charset = ValueForm::Charset::other;
  }
  return form;
}

std::string decodeValue(std::string_view value, const ValueForm& form) {
  if (needsNoDecoding(value, form)) return std::string(value);
  std::string text = form.quotedPrintable ? decodeQuotedPrintable(value) : std::string(value);
  if (form.charset == ValueForm::Charset::utf8 || form.charset == ValueForm::Charset::unnamed) {
    convertUtf8Letters(text);
  }
  if (form.escaped) text = unescape(text);
  return withLineBreaks(std::move(text));
}

std::vector<std::string_view> components(std::string_view value) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\') {
      ++i;
    } else if (value[i] == ';') {
      parts.push_back(value.substr(start, i - start));
      start = i + 1;
    }
  }
  parts.push_back(value.substr(start));
  return parts;
}

std::string decodeComponent(std::string_view component, const ValueForm& form) {
  std::string text = decodeValue(component, form);
  if (form.escaped) return text;
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    bool escape =
        text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == ';' || text[i + 1] == '\\');
    out += text[escape ? ++i : i];
  }
  return out;
}

std::string encodeComponent(std::string_view text, const ValueForm& form) {
  if (form.escaped) return encodeValue(text, form, true);
  std::string escaped;
  escaped.reserve(text.size() + 4);
  for (char c : text) {
    if (c == ';' || c == '\\') escaped += '\\';
    escaped += c;
  }
  return encodeValue(escaped, form, false);
}

std::string encodeValue(std::string_view text, const ValueForm& form, bool escapeText) {
  std::string value = form.escaped && escapeText ? escape(text) : std::string(text);
  if (form.charset == ValueForm::Charset::utf8) value = text::cp1252::textToUtf8(value);
  if (form.quotedPrintable) value = encodeQuotedPrintable(value);
  return value;
}

}  // namespace addressbook
