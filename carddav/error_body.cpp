#include "carddav/error_body.h"

#include "carddav/namespaces.h"
#include "carddav/xml_reader.h"

namespace carddav {

bool refusesSyncToken(std::string_view body, std::size_t maxBytes) {
  XmlReader reader(body, maxBytes);
  if (reader.next() != XmlEvent::startElement || !reader.name().is(davNamespace, "error")) {
    return false;
  }
  bool refused = false;
  while (true) {
    switch (reader.next()) {
      case XmlEvent::startElement:
        if (reader.depth() == 2 && reader.name().is(davNamespace, "valid-sync-token")) {
          refused = true;
        }
        break;
      case XmlEvent::end:
        return refused;
      case XmlEvent::error:
        return false;
      case XmlEvent::endElement:
      case XmlEvent::text:
        break;
    }
  }
}

}  // namespace carddav
