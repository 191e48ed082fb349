#pragma once

// The XML of a server's answers is read here, by the Linux and the Windows
// program alike, so that what is accepted and what is refused is decided in
// one place. It reads only what those answers use (elements, attributes,
// namespaces, text, CDATA) and refuses a document type with its entities
// outright, so no input can make it expand text, fetch anything or run
// without end. A library would add a dependency for each system (and the
// cross build has none at hand) for less than this file does.

#include <cstddef>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace carddav {

// A name with its namespace resolved: the namespace URI as declared (empty
// for none) and the local name after the prefix.
struct XmlName {
  std::string_view namespaceUri;
  std::string_view localName;

  [[nodiscard]] bool is(std::string_view uri, std::string_view local) const {
    return namespaceUri == uri && localName == local;
  }
};

struct XmlAttribute {
  XmlName name;            // an attribute without a prefix is in no namespace
  std::string_view value;  // entities decoded
};

// A pull reader over UTF-8 text, one event per call of next():
//
//   XmlReader reader(body, maxBytes);
//   for (auto event = reader.next(); event != XmlEvent::end; event = reader.next()) {
//     if (event == XmlEvent::error) return reader.error();
//     if (event == XmlEvent::startElement && reader.name().is("DAV:", "href")) ...
//   }
//
// The XML declaration, comments and processing instructions are passed over.
// Text comes with its entities and character references decoded to UTF-8,
// line ends as LF; a CDATA section is text as it stands. Text between
// elements is given as it is, white space included, and one run of text may
// come in several events (around a CDATA section or a comment). Bytes
// outside the markup are passed on as sent, not checked for UTF-8.
//
// An error stops the reading for good: a document type declaration, a
// missing or mismatched end tag, a prefix that is not declared, an unknown
// entity or a character reference to no character (0, a surrogate, above
// U+10FFFF), elements nested deeper than maxDepth, input longer than the
// bound the caller gives, and any other markup it does not understand. Each
// call takes time in proportion to the bytes it passes, so a whole reading
// takes time linear in the input.
//
// The views of name(), attributes() and text() stay valid until the next
// call of next() and point into the input or into the reader.
enum class XmlEvent { startElement, endElement, text, end, error };

class XmlReader {
 public:
  static constexpr std::size_t maxDepth = 64;

  // The reader keeps a view of input, which must outlive it.
  XmlReader(std::string_view input, std::size_t maxInputBytes);

  XmlEvent next();

  // Of the element that started or ended.
  [[nodiscard]] const XmlName& name() const;
  // Of the element that started, declarations of namespaces aside.
  [[nodiscard]] std::span<const XmlAttribute> attributes() const { return attributes_; }
  [[nodiscard]] std::string_view text() const { return text_; }
  // The elements open, the one just started included, the one just ended not.
  [[nodiscard]] std::size_t depth() const { return openDepth_; }

  // After an error: what was wrong, in a few words, and the offset in the
  // input where it was found.
  [[nodiscard]] std::string_view error() const { return error_; }
  [[nodiscard]] std::size_t errorOffset() const { return errorOffset_; }

  // After startElement: reads on to the element's end, giving its text with
  // the text of the elements inside it; false on an error.
  bool readElementText(std::string& text);
  // After startElement: reads on to the element's end; false on an error.
  bool skipElement();

 private:
  struct Binding {
    std::string_view prefix;  // empty for the default namespace
    std::string uri;
  };
  struct OpenElement {
    std::string_view qualifiedName;  // as written, for the end tag
    XmlName name;
    std::size_t bindingsBefore;
  };
  struct RawAttribute {
    std::string_view qualifiedName;
    std::size_t valueOffset;  // into attributeText_
    std::size_t valueLength;
  };

  XmlEvent fail(std::string_view reason);
  bool refuse(std::string_view reason);
  XmlEvent readMarkup();
  XmlEvent readTextRun();
  XmlEvent readStartTag();
  XmlEvent readEndTag();
  // Past the terminator of a construct that gives no event; its opener is
  // that many bytes long.
  XmlEvent skipPast(std::size_t opener, std::string_view terminator, std::string_view unclosed);
  bool readAttributes(std::vector<RawAttribute>& raw);
  bool declareNamespaces(const std::vector<RawAttribute>& raw);
  bool resolve(std::string_view qualifiedName, bool isElement, XmlName& name);
  // Entities and references decoded, line ends as LF (in an attribute,
  // white space as blanks).
  bool decode(std::string_view raw, std::string& out, bool inAttribute);
  bool appendReference(std::string_view reference, std::string& out);
  std::string_view readName();
  void skipWhiteSpace();
  void closeEndedElement();

  std::string_view input_;
  std::size_t maxInputBytes_;
  std::size_t position_ = 0;
  // A deque keeps the URIs of the bindings in place while later ones are
  // added and removed, so names can view them.
  std::deque<Binding> bindings_;
  std::vector<OpenElement> open_;
  std::size_t openDepth_ = 0;
  bool rootEnded_ = false;
  bool selfClosed_ = false;  // the element just started ends at once
  bool ended_ = false;       // the last event was endElement
  XmlEvent last_ = XmlEvent::text;
  std::vector<XmlAttribute> attributes_;
  std::string attributeText_;
  std::string textBuffer_;
  std::string_view text_;
  std::string_view error_;
  std::size_t errorOffset_ = 0;
};

}  // namespace carddav
