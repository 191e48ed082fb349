#include "carddav/xml_reader.h"

#include <algorithm>

namespace carddav {

namespace {

// Bounds beyond what a server's answer needs, so that no element can make
// a lookup of a prefix or the reading of a tag slow.
constexpr std::size_t maxAttributes = 64;
constexpr std::size_t maxBindingsInScope = 128;
// "&#x10FFFF;" is the longest reference there is.
constexpr std::size_t maxReferenceLength = 10;

constexpr std::string_view xmlNamespace = "http://www.w3.org/XML/1998/namespace";

bool isWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool isNameStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' ||
         static_cast<unsigned char>(c) >= 0x80;
}

bool isNameByte(char c) { return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

void appendUtf8(char32_t c, std::string& out) {
  auto byte = [&out](char32_t value) { out.push_back(static_cast<char>(value)); };
  if (c < 0x80) {
    byte(c);
  } else if (c < 0x800) {
    byte(0xC0 | (c >> 6));
    byte(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    byte(0xE0 | (c >> 12));
    byte(0x80 | ((c >> 6) & 0x3F));
    byte(0x80 | (c & 0x3F));
  } else {
    byte(0xF0 | (c >> 18));
    byte(0x80 | ((c >> 12) & 0x3F));
    byte(0x80 | ((c >> 6) & 0x3F));
    byte(0x80 | (c & 0x3F));
  }
}

// The character of a reference "#N" or "#xN", or 0 when it names none.
char32_t referencedCharacter(std::string_view reference) {
  reference.remove_prefix(1);
  unsigned base = 10;
  if (!reference.empty() && reference.front() == 'x') {
    base = 16;
    reference.remove_prefix(1);
  }
  if (reference.empty()) return 0;
  char32_t value = 0;
  for (char c : reference) {
    unsigned digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else {
      return 0;
    }
    value = value * base + digit;
    if (value > 0x10FFFF) return 0;
  }
  if (value >= 0xD800 && value <= 0xDFFF) return 0;
  return value;
}

// Text between references as XML reads it: CR LF and a lone CR become LF;
// in an attribute value every white space character becomes a blank.
void appendLiteral(std::string_view raw, std::string& out, bool inAttribute) {
  for (std::size_t i = 0; i < raw.size(); ++i) {
    char c = raw[i];
    if (c == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    if (c == '\r') c = '\n';
    if (inAttribute && (c == '\n' || c == '\t')) c = ' ';
    out.push_back(c);
  }
}

}  // namespace

XmlReader::XmlReader(std::string_view input, std::size_t maxInputBytes)
    : input_(input), maxInputBytes_(maxInputBytes) {
  bindings_.push_back({"xml", std::string(xmlNamespace)});
}

const XmlName& XmlReader::name() const {
  static const XmlName none;
  return open_.empty() ? none : open_.back().name;
}

bool XmlReader::refuse(std::string_view reason) {
  fail(reason);
  return false;
}

XmlEvent XmlReader::fail(std::string_view reason) {
  error_ = reason;
  errorOffset_ = position_;
  last_ = XmlEvent::error;
  return last_;
}

void XmlReader::closeEndedElement() {
  if (!ended_) return;
  ended_ = false;
  bindings_.resize(open_.back().bindingsBefore);
  open_.pop_back();
  if (open_.empty()) rootEnded_ = true;
}

XmlEvent XmlReader::next() {
  if (last_ == XmlEvent::error || last_ == XmlEvent::end) return last_;
  if (input_.size() > maxInputBytes_) return fail("the input is larger than allowed");
  closeEndedElement();
  attributes_.clear();
  text_ = {};
  if (selfClosed_) {
    selfClosed_ = false;
    ended_ = true;
    --openDepth_;
    return last_ = XmlEvent::endElement;
  }
  while (position_ < input_.size()) {
    XmlEvent event = input_[position_] == '<' ? readMarkup() : readTextRun();
    // A comment, a processing instruction or white space outside the root
    // element gives no event: the loop goes on.
    if (event != XmlEvent::end) return last_ = event;
  }
  if (!open_.empty()) return fail("the input ends inside an element");
  if (!rootEnded_) return fail("the input holds no element");
  return last_ = XmlEvent::end;
}

XmlEvent XmlReader::readMarkup() {
  std::string_view rest = input_.substr(position_);
  if (rest.starts_with("<?")) return skipPast(2, "?>", "an unclosed processing instruction");
  if (rest.starts_with("<!--")) return skipPast(4, "-->", "an unclosed comment");
  if (rest.starts_with("<![CDATA[")) {
    if (open_.empty()) return fail("a CDATA section outside the root element");
    std::size_t close = rest.find("]]>");
    if (close == std::string_view::npos) return fail("an unclosed CDATA section");
    std::string_view raw = rest.substr(9, close - 9);
    position_ += close + 3;
    if (raw.find('\r') == std::string_view::npos) {
      text_ = raw;
    } else {
      textBuffer_.clear();
      appendLiteral(raw, textBuffer_, false);
      text_ = textBuffer_;
    }
    return XmlEvent::text;
  }
  if (rest.starts_with("<!DOCTYPE")) return fail("a document type declaration is refused");
  if (rest.starts_with("<!")) return fail("markup that is not understood");
  if (rest.starts_with("</")) return readEndTag();
  return readStartTag();
}

XmlEvent XmlReader::skipPast(std::size_t opener, std::string_view terminator,
                             std::string_view unclosed) {
  std::size_t close = input_.find(terminator, position_ + opener);
  if (close == std::string_view::npos) return fail(unclosed);
  position_ = close + terminator.size();
  return XmlEvent::end;
}

XmlEvent XmlReader::readTextRun() {
  std::size_t stop = std::min(input_.find('<', position_), input_.size());
  std::string_view raw = input_.substr(position_, stop - position_);
  if (open_.empty()) {
    if (!std::ranges::all_of(raw, isWhiteSpace)) return fail("text outside the root element");
    position_ = stop;
    return XmlEvent::end;
  }
  if (raw.find_first_of("&\r") == std::string_view::npos) {
    text_ = raw;
  } else {
    textBuffer_.clear();
    if (!decode(raw, textBuffer_, false)) return XmlEvent::error;
    text_ = textBuffer_;
  }
  position_ = stop;
  return XmlEvent::text;
}

std::string_view XmlReader::readName() {
  std::size_t start = position_;
  if (position_ < input_.size() && isNameStart(input_[position_])) {
    while (position_ < input_.size() && isNameByte(input_[position_])) ++position_;
  }
  return input_.substr(start, position_ - start);
}

void XmlReader::skipWhiteSpace() {
  while (position_ < input_.size() && isWhiteSpace(input_[position_])) ++position_;
}

XmlEvent XmlReader::readStartTag() {
  ++position_;
  std::string_view qualifiedName = readName();
  if (qualifiedName.empty()) return fail("a tag without a name");
  if (rootEnded_) return fail("a second root element");
  if (open_.size() == maxDepth) return fail("elements nested too deep");
  std::vector<RawAttribute> raw;
  if (!readAttributes(raw)) return XmlEvent::error;
  if (input_[position_] == '/') {
    ++position_;
    if (position_ == input_.size() || input_[position_] != '>') return fail("a '/' inside a tag");
    selfClosed_ = true;
  }
  ++position_;

  std::size_t bindingsBefore = bindings_.size();
  if (!declareNamespaces(raw)) return XmlEvent::error;
  XmlName name;
  if (!resolve(qualifiedName, true, name)) return XmlEvent::error;
  for (const RawAttribute& attribute : raw) {
    std::string_view attributeName = attribute.qualifiedName;
    if (attributeName == "xmlns" || attributeName.starts_with("xmlns:")) continue;
    XmlName resolved;
    if (!resolve(attributeName, false, resolved)) return XmlEvent::error;
    std::string_view value =
        std::string_view(attributeText_).substr(attribute.valueOffset, attribute.valueLength);
    attributes_.push_back({resolved, value});
  }
  open_.push_back({qualifiedName, name, bindingsBefore});
  ++openDepth_;
  return XmlEvent::startElement;
}

bool XmlReader::readAttributes(std::vector<RawAttribute>& raw) {
  attributeText_.clear();
  while (true) {
    std::size_t before = position_;
    skipWhiteSpace();
    if (position_ == input_.size()) return refuse("the input ends inside a tag");
    char c = input_[position_];
    if (c == '>' || c == '/') return true;
    if (position_ == before) return refuse("an attribute not set apart by white space");
    std::string_view qualifiedName = readName();
    if (qualifiedName.empty()) return refuse("a character that does not belong in a tag");
    if (raw.size() == maxAttributes) return refuse("too many attributes");
    skipWhiteSpace();
    if (position_ == input_.size() || input_[position_] != '=') {
      return refuse("an attribute without a value");
    }
    ++position_;
    skipWhiteSpace();
    if (position_ == input_.size() || (input_[position_] != '"' && input_[position_] != '\'')) {
      return refuse("an attribute value without quotes");
    }
    char quote = input_[position_];
    std::size_t close = input_.find(quote, position_ + 1);
    if (close == std::string_view::npos) return refuse("an unclosed attribute value");
    std::string_view value = input_.substr(position_ + 1, close - position_ - 1);
    if (value.find('<') != std::string_view::npos) return refuse("a '<' in an attribute");
    std::size_t offset = attributeText_.size();
    if (!decode(value, attributeText_, true)) return false;
    raw.push_back({qualifiedName, offset, attributeText_.size() - offset});
    position_ = close + 1;
  }
}

bool XmlReader::declareNamespaces(const std::vector<RawAttribute>& raw) {
  for (const RawAttribute& attribute : raw) {
    std::string_view name = attribute.qualifiedName;
    std::string uri = attributeText_.substr(attribute.valueOffset, attribute.valueLength);
    if (name == "xmlns") {
      if (uri == xmlNamespace) return refuse("the XML namespace as the default");
      bindings_.push_back({{}, std::move(uri)});
    } else if (name.starts_with("xmlns:")) {
      std::string_view prefix = name.substr(6);
      if (prefix == "xmlns" || (prefix == "xml") != (uri == xmlNamespace)) {
        return refuse("a reserved prefix or namespace declared");
      }
      if (uri.empty()) return refuse("a prefix declared for no namespace");
      bindings_.push_back({prefix, std::move(uri)});
    } else {
      continue;
    }
    if (bindings_.size() > maxBindingsInScope) return refuse("too many namespaces declared");
  }
  return true;
}

bool XmlReader::resolve(std::string_view qualifiedName, bool isElement, XmlName& name) {
  std::size_t colon = qualifiedName.find(':');
  std::string_view prefix;
  name.localName = qualifiedName;
  if (colon != std::string_view::npos) {
    prefix = qualifiedName.substr(0, colon);
    name.localName = qualifiedName.substr(colon + 1);
    if (prefix.empty() || name.localName.empty() ||
        name.localName.find(':') != std::string_view::npos || !isNameStart(name.localName[0])) {
      return refuse("a name with a misplaced colon");
    }
  } else if (!isElement) {
    name.namespaceUri = {};
    return true;
  }
  for (auto binding = bindings_.rbegin(); binding != bindings_.rend(); ++binding) {
    if (binding->prefix == prefix) {
      name.namespaceUri = binding->uri;
      return true;
    }
  }
  if (!prefix.empty()) return refuse("a prefix that is not declared");
  name.namespaceUri = {};
  return true;
}

XmlEvent XmlReader::readEndTag() {
  position_ += 2;
  std::string_view qualifiedName = readName();
  skipWhiteSpace();
  if (position_ == input_.size() || input_[position_] != '>') return fail("a malformed end tag");
  if (open_.empty() || open_.back().qualifiedName != qualifiedName) {
    return fail("an end tag that does not match");
  }
  ++position_;
  ended_ = true;
  --openDepth_;
  return XmlEvent::endElement;
}

bool XmlReader::decode(std::string_view raw, std::string& out, bool inAttribute) {
  std::size_t start = 0;
  for (std::size_t amp = raw.find('&'); amp != std::string_view::npos; amp = raw.find('&', start)) {
    appendLiteral(raw.substr(start, amp - start), out, inAttribute);
    std::size_t semicolon = raw.find(';', amp);
    if (semicolon == std::string_view::npos || semicolon - amp - 1 > maxReferenceLength) {
      position_ += amp;
      return refuse("a '&' that starts no reference");
    }
    if (!appendReference(raw.substr(amp + 1, semicolon - amp - 1), out)) {
      position_ += amp;
      return refuse("an unknown entity or a reference to no character");
    }
    start = semicolon + 1;
  }
  appendLiteral(raw.substr(start), out, inAttribute);
  return true;
}

bool XmlReader::appendReference(std::string_view reference, std::string& out) {
  struct Entity {
    std::string_view name;
    char character;
  };
  static constexpr Entity entities[] = {
      {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
  for (const Entity& entity : entities) {
    if (reference == entity.name) {
      out.push_back(entity.character);
      return true;
    }
  }
  if (!reference.starts_with('#')) return false;
  char32_t character = referencedCharacter(reference);
  if (character == 0) return false;
  appendUtf8(character, out);
  return true;
}

bool XmlReader::readElementText(std::string& text) {
  std::size_t depth = openDepth_;
  while (true) {
    switch (next()) {
      case XmlEvent::text:
        text += text_;
        break;
      case XmlEvent::endElement:
        if (openDepth_ < depth) return true;
        break;
      case XmlEvent::startElement:
        break;
      case XmlEvent::end:
      case XmlEvent::error:
        return false;
    }
  }
}

bool XmlReader::skipElement() {
  std::size_t depth = openDepth_;
  while (true) {
    XmlEvent event = next();
    if (event == XmlEvent::error || event == XmlEvent::end) return false;
    if (event == XmlEvent::endElement && openDepth_ < depth) return true;
  }
}

}  // namespace carddav
