// The XML reader, one table per rule. Each case is compared as a trace of
// its events: <uri|local attributes> for a start, </local> for an end, text
// as it came, and !reason for an error.

#include "carddav/xml_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "tests/fakes/temp_dir.h"

namespace {

using carddav::XmlEvent;
using carddav::XmlReader;

constexpr std::size_t plenty = 1 << 20;

std::string trace(std::string_view xml, std::size_t maxBytes = plenty) {
  XmlReader reader(xml, maxBytes);
  std::string out;
  // Every event passes at least one byte, so a reading that takes more
  // events than there are bytes does not end.
  for (std::size_t events = 0; events <= xml.size() + 1; ++events) {
    switch (reader.next()) {
      case XmlEvent::startElement:
        out += "<" + std::string(reader.name().namespaceUri) + "|" +
               std::string(reader.name().localName);
        for (const carddav::XmlAttribute& attribute : reader.attributes()) {
          out += " " + std::string(attribute.name.namespaceUri) + "|" +
                 std::string(attribute.name.localName) + "=" + std::string(attribute.value);
        }
        out += ">";
        break;
      case XmlEvent::endElement:
        out += "</" + std::string(reader.name().localName) + ">";
        break;
      case XmlEvent::text:
        out += reader.text();
        break;
      case XmlEvent::end:
        return out;
      case XmlEvent::error:
        EXPECT_EQ(reader.next(), XmlEvent::error) << "an error is final";
        return out + "!" + std::string(reader.error());
    }
  }
  ADD_FAILURE() << "no end after as many events as bytes";
  return out;
}

struct Case {
  std::string_view xml;
  std::string_view expected;
};

void checkAll(std::initializer_list<Case> cases) {
  for (const Case& c : cases) EXPECT_EQ(trace(c.xml), c.expected) << c.xml;
}

std::string nested(std::size_t depth) {
  std::string xml;
  for (std::size_t i = 0; i < depth; ++i) xml += "<a>";
  for (std::size_t i = 0; i < depth; ++i) xml += "</a>";
  return xml;
}

TEST(XmlReader, namespacesAreResolvedFromTheDeclarationsInScope) {
  checkAll({
      {"<d:a xmlns:d='DAV:'/>", "<DAV:|a></a>"},
      {"<a xmlns='DAV:'><b/></a>", "<DAV:|a><DAV:|b></b></a>"},
      {"<ns0:a xmlns:ns0='DAV:' xmlns:ns1='urn:x'><ns1:b/></ns0:a>", "<DAV:|a><urn:x|b></b></a>"},
      // A prefix declared again inside counts there and no further.
      {"<p:a xmlns:p='urn:1'><p:b xmlns:p='urn:2'><p:c/></p:b><p:d/></p:a>",
       "<urn:1|a><urn:2|b><urn:2|c></c></b><urn:1|d></d></a>"},
      // The default namespace undone, and back after its element.
      {"<a xmlns='DAV:'><b xmlns=''><c/></b><d/></a>", "<DAV:|a><|b><|c></c></b><DAV:|d></d></a>"},
      {"<a/>", "<|a></a>"},
      // Attributes: without a prefix in no namespace, declarations left out.
      {"<a xmlns='DAV:' xmlns:x='urn:x' k='1' x:k='2'/>", "<DAV:|a |k=1 urn:x|k=2></a>"},
      {"<xml:a xml:lang='de'/>",
       "<http://www.w3.org/XML/1998/namespace|a http://www.w3.org/XML/1998/namespace|lang=de></a>"},
      {"<q:a xmlns:q='urn:q'/>", "<urn:q|a></a>"},
      {"<a xmlns:p='urn:p'/><!-- after --> ", "<|a></a>"},
      {"<a><p:b xmlns:p='urn:p'/><p:c/></a>", "<|a><urn:p|b></b>!a prefix that is not declared"},
      {"<p:a/>", "!a prefix that is not declared"},
      {"<a p:k='1'/>", "!a prefix that is not declared"},
      {"<a xmlns:p=''/>", "!a prefix declared for no namespace"},
      {"<a xmlns:xml='urn:x'/>", "!a reserved prefix or namespace declared"},
      {"<a xmlns:xmlns='urn:x'/>", "!a reserved prefix or namespace declared"},
      {"<p:a:b xmlns:p='urn:p'/>", "!a name with a misplaced colon"},
      {"<:a/>", "!a name with a misplaced colon"},
  });
}

TEST(XmlReader, textIsDecodedToUtf8WithLineEndsAsLf) {
  checkAll({
      {"<a>&lt;&gt;&amp;&quot;&apos;</a>", "<|a><>&\"'</a>"},
      {"<a>M&#252;ller &#x141;&#xf3;d&#378;</a>",
       "<|a>M\xC3\xBCller \xC5\x81\xC3\xB3"
       "d\xC5\xBA</a>"},
      {"<a>&#x20AC; &#x1F600; &#x10FFFF;</a>",
       "<|a>\xE2\x82\xAC \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF</a>"},
      {"<a>M\xC3\xBCller</a>", "<|a>M\xC3\xBCller</a>"},
      {"<a>1\r\n2\r3\n4&#13;&#10;5</a>", "<|a>1\n2\n3\n4\r\n5</a>"},
      {"<a k='&lt;1&#x9;2\n3'/>", "<|a |k=<1\t2 3></a>"},
      {"<a><![CDATA[<b>&amp;</b>]]></a>", "<|a><b>&amp;</b></a>"},
      {"<a><![CDATA[1\r\n2]]>&amp;<![CDATA[]]></a>", "<|a>1\n2&</a>"},
      {"<?xml version='1.0' encoding='utf-8'?>\n<!-- c --><?pi x?><a><!-- in -->x<?pi?>y</a>\n",
       "<|a>xy</a>"},
      {"<a> <b> </b>\n</a>", "<|a> <|b> </b>\n</a>"},
      {"<a>]]&gt; > '\"</a>", "<|a>]]> > '\"</a>"},
  });
}

TEST(XmlReader, referencesToNoCharacterAndUnknownEntitiesAreRefused) {
  const std::string_view refused = "<|a>!an unknown entity or a reference to no character";
  const std::string_view noReference = "<|a>!a '&' that starts no reference";
  checkAll({
      {"<a>&#0;</a>", refused},
      {"<a>&#x0;</a>", refused},
      {"<a>&#xD800;</a>", refused},
      {"<a>&#xDFFF;</a>", refused},
      {"<a>&#x110000;</a>", refused},
      {"<a>&#1114112;</a>", refused},
      {"<a>&#x;</a>", refused},
      {"<a>&#12a;</a>", refused},
      {"<a>&#xFFFFFFFF00000041;</a>", noReference},
      {"<a>&nbsp;</a>", refused},
      {"<a k='&bogus;'/>", "!an unknown entity or a reference to no character"},
      {"<a>AT&T</a>", noReference},
      {"<a>&</a>", noReference},
  });
}

TEST(XmlReader, malformedInputEndsInAnError) {
  checkAll({
      {"", "!the input holds no element"},
      {"  <!-- only a comment -->", "!the input holds no element"},
      {"<a><b></a></b>", "<|a><|b>!an end tag that does not match"},
      {"<d:a xmlns:d='DAV:'></D:a>", "<DAV:|a>!an end tag that does not match"},
      {"</a>", "!an end tag that does not match"},
      {"<a>", "<|a>!the input ends inside an element"},
      {"<a><b>text", "<|a><|b>text!the input ends inside an element"},
      {"<a k='1", "!an unclosed attribute value"},
      {"<a k", "!an attribute without a value"},
      {"<a k=1/>", "!an attribute value without quotes"},
      {"<a k='<'/>", "!a '<' in an attribute"},
      {"<a b='1'c='2'/>", "!an attribute not set apart by white space"},
      {"<a / >", "!a '/' inside a tag"},
      {"<a></a", "<|a>!a malformed end tag"},
      {"<a><!-- x</a>", "<|a>!an unclosed comment"},
      {"<a><![CDATA[x</a>", "<|a>!an unclosed CDATA section"},
      {"<?xml version='1.0'", "!an unclosed processing instruction"},
      {"<a><!ELEMENT a ANY></a>", "<|a>!markup that is not understood"},
      {"<1a/>", "!a tag without a name"},
      {"<a/><b/>", "<|a></a>!a second root element"},
      {"x<a/>", "!text outside the root element"},
      {"<a/>x", "<|a></a>!text outside the root element"},
      {"<![CDATA[x]]><a/>", "!a CDATA section outside the root element"},
  });
}

TEST(XmlReader, aDocumentTypeIsRefusedBeforeAnyEntityIsRead) {
  checkAll({
      {"<!DOCTYPE a [<!ENTITY x 'y'>]><a>&x;</a>", "!a document type declaration is refused"},
      {"<?xml version='1.0'?><!DOCTYPE lolz [<!ENTITY lol 'lol'><!ENTITY lol2 "
       "'&lol;&lol;&lol;&lol;'>]><lolz>&lol2;</lolz>",
       "!a document type declaration is refused"},
      {"<!DOCTYPE a SYSTEM 'file:///etc/passwd'><a/>", "!a document type declaration is refused"},
      {"<a><!DOCTYPE a></a>", "<|a>!a document type declaration is refused"},
  });
}

TEST(XmlReader, nestingAndSizeHaveBounds) {
  std::string deepest = nested(XmlReader::maxDepth);
  std::string tooDeep = nested(XmlReader::maxDepth + 1);
  EXPECT_EQ(trace(deepest).find('!'), std::string::npos);
  EXPECT_EQ(trace(tooDeep).substr(trace(tooDeep).find('!')), "!elements nested too deep");
  EXPECT_EQ(trace("<a/>", 4), "<|a></a>");
  EXPECT_EQ(trace("<a/> ", 4), "!the input is larger than allowed");

  std::string manyAttributes = "<a";
  for (int i = 0; i < 65; ++i) manyAttributes += " k" + std::to_string(i) + "='v'";
  EXPECT_EQ(trace(manyAttributes + "/>"), "!too many attributes");
  std::string manyDeclarations;
  for (int i = 0; i < 3; ++i) {
    manyDeclarations += "<a";
    for (int j = 0; j < 50; ++j) manyDeclarations += " xmlns:p" + std::to_string(j) + "='urn:p'";
    manyDeclarations += ">";
  }
  EXPECT_NE(trace(manyDeclarations).find("!too many namespaces declared"), std::string::npos);
}

TEST(XmlReader, everyCutOfARealAnswerEndsInAnError) {
  std::string answer = testing_support::readBytes(std::string(MORVI_TEST_DATA_DIR) +
                                                  "/carddav/radicale-multiget.xml");
  ASSERT_GT(answer.size(), 1000u);
  EXPECT_EQ(trace(answer).find('!'), std::string::npos);
  for (std::size_t length = 0; length < answer.size(); ++length) {
    std::string cut = trace(std::string_view(answer).substr(0, length));
    ASSERT_NE(cut.find('!'), std::string::npos) << "cut after " << length << " bytes";
  }
}

TEST(XmlReader, elementTextAndSkippingReadToTheElementsEnd) {
  XmlReader reader("<a><b>1<c>2</c>3</b><d><e/>x</d><f/></a>", plenty);
  ASSERT_EQ(reader.next(), XmlEvent::startElement);
  ASSERT_EQ(reader.next(), XmlEvent::startElement);
  std::string text;
  EXPECT_TRUE(reader.readElementText(text));
  EXPECT_EQ(text, "123");
  EXPECT_EQ(reader.depth(), 1u);
  ASSERT_EQ(reader.next(), XmlEvent::startElement);
  EXPECT_TRUE(reader.skipElement());
  ASSERT_EQ(reader.next(), XmlEvent::startElement);
  EXPECT_EQ(reader.name().localName, "f");

  XmlReader broken("<a><b>1</a>", plenty);
  ASSERT_EQ(broken.next(), XmlEvent::startElement);
  ASSERT_EQ(broken.next(), XmlEvent::startElement);
  EXPECT_FALSE(broken.readElementText(text));
  EXPECT_FALSE(broken.skipElement());
}

}  // namespace
