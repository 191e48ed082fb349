// The bytes as a server's answer: read event by event, where every end tag
// must close the element last opened, the depth must follow the elements
// and stay within its bound, an error must be final and the reading must
// end within one event per byte; then read as a multistatus and as an
// error body. The hrefs of a multistatus, sent back in a multiget, must
// read back as they were.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "carddav/error_body.h"
#include "carddav/multistatus.h"
#include "carddav/namespaces.h"
#include "carddav/requests.h"
#include "carddav/xml_reader.h"
#include "fuzz/fuzz_check.h"

namespace {

using carddav::XmlEvent;
using fuzzing::check;
using fuzzing::checkEqual;

void checkEvents(std::string_view input) {
  carddav::XmlReader reader(input, input.size());
  std::vector<std::pair<std::string, std::string>> open;
  for (std::size_t events = 0;; ++events) {
    check(events <= input.size() + 1, "a reading ends within one event per byte");
    XmlEvent event = reader.next();
    if (event == XmlEvent::error) {
      check(!reader.error().empty(), "an error has a reason");
      check(reader.next() == XmlEvent::error, "an error is final");
      return;
    }
    if (event == XmlEvent::end) {
      check(open.empty(), "the input ends with every element closed");
      check(reader.next() == XmlEvent::end, "the end is final");
      return;
    }
    if (event == XmlEvent::startElement) {
      open.emplace_back(reader.name().namespaceUri, reader.name().localName);
      check(!reader.name().localName.empty(), "an element has a name");
    } else if (event == XmlEvent::endElement) {
      check(!open.empty(), "an end closes an open element");
      checkEqual(reader.name().namespaceUri, open.back().first, "an end has its start's namespace");
      checkEqual(reader.name().localName, open.back().second, "an end has its start's name");
      open.pop_back();
    } else {
      check(!open.empty(), "text comes inside an element");
    }
    check(reader.depth() == open.size(), "the depth counts the open elements");
    check(reader.depth() <= carddav::XmlReader::maxDepth, "the depth stays within its bound");
  }
}

std::vector<std::string> hrefsOf(const carddav::DavRequest& request) {
  carddav::XmlReader reader(request.body, request.body.size());
  std::vector<std::string> hrefs;
  for (XmlEvent event = reader.next(); event != XmlEvent::end; event = reader.next()) {
    check(event != XmlEvent::error, "a multiget body reads without an error");
    if (event == XmlEvent::startElement && reader.name().is(carddav::davNamespace, "href")) {
      hrefs.emplace_back();
      check(reader.readElementText(hrefs.back()), "an href of a multiget reads to its end");
    }
  }
  return hrefs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  checkEvents(input);
  static_cast<void>(carddav::refusesSyncToken(input, size));

  carddav::MultistatusReading reading = carddav::readMultistatus(input, size);
  if (!reading.error.empty()) {
    check(reading.multistatus.resources.empty(), "a body not read gives no resources");
    return 0;
  }
  std::vector<std::string> hrefs;
  for (const carddav::ResourceStatus& resource : reading.multistatus.resources) {
    hrefs.push_back(resource.href);
  }
  std::vector<std::string> back = hrefsOf(carddav::multigetRequest(hrefs));
  check(back.size() == hrefs.size(), "a multiget carries every href");
  for (std::size_t i = 0; i < hrefs.size(); ++i) {
    checkEqual(back[i], hrefs[i], "an href reads back from a multiget as it was");
  }
  return 0;
}
