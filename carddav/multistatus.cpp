#include "carddav/multistatus.h"

#include <string>

#include "carddav/namespaces.h"
#include "carddav/xml_reader.h"

namespace carddav {

namespace {

std::string_view trimmed(std::string_view text) {
  constexpr std::string_view blanks = " \t\r\n";
  std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// The code of a status line, "HTTP/1.1 404 Not Found"; nothing when the
// line holds none.
std::optional<int> statusCode(std::string_view line) {
  line = trimmed(line);
  std::size_t space = line.find(' ');
  if (space == std::string_view::npos || line.size() < space + 4) return std::nullopt;
  int code = 0;
  for (char c : line.substr(space + 1, 3)) {
    if (c < '0' || c > '9') return std::nullopt;
    code = code * 10 + (c - '0');
  }
  if (line.size() > space + 4 && line[space + 4] != ' ') return std::nullopt;
  return code;
}

// Reads one DAV:multistatus, event by event, into the plain structs. Each
// function is called after the start of the element it is named after and
// returns after its end, false on an error of the reader.
class MultistatusParser {
 public:
  MultistatusParser(std::string_view body, std::size_t maxBytes) : reader_(body, maxBytes) {}

  MultistatusReading read() {
    MultistatusReading reading;
    XmlEvent event = reader_.next();
    if (event == XmlEvent::startElement && !reader_.name().is(davNamespace, "multistatus")) {
      reading.error = "the answer is no multistatus";
      return reading;
    }
    if (event != XmlEvent::startElement || !readRoot(reading.multistatus) ||
        reader_.next() != XmlEvent::end) {
      reading.error =
          std::string(reader_.error()) + " (byte " + std::to_string(reader_.errorOffset()) + ")";
      reading.multistatus = {};
    }
    return reading;
  }

 private:
  // Calls take(name) for every element directly inside the current one;
  // take reads the element to its end.
  template <typename Take>
  bool forEachChild(Take take) {
    std::size_t depth = reader_.depth();
    while (true) {
      switch (reader_.next()) {
        case XmlEvent::startElement:
          if (!take(reader_.name())) return false;
          break;
        case XmlEvent::endElement:
          if (reader_.depth() < depth) return true;
          break;
        case XmlEvent::text:
          break;
        case XmlEvent::end:
        case XmlEvent::error:
          return false;
      }
    }
  }

  bool readText(std::string& text) {
    text.clear();
    return reader_.readElementText(text);
  }

  bool readTrimmed(std::optional<std::string>& value) {
    std::string text;
    if (!readText(text)) return false;
    value = std::string(trimmed(text));
    return true;
  }

  bool readRoot(Multistatus& multistatus) {
    return forEachChild([&](const XmlName& name) {
      if (name.is(davNamespace, "response")) return readResponse(multistatus.resources);
      if (name.is(davNamespace, "sync-token")) return readTrimmed(multistatus.syncToken);
      return reader_.skipElement();
    });
  }

  bool readResponse(std::vector<ResourceStatus>& resources) {
    ResourceStatus resource;
    std::vector<std::string> hrefs;
    bool read = forEachChild([&](const XmlName& name) {
      if (name.is(davNamespace, "href")) {
        std::optional<std::string> href;
        if (!readTrimmed(href)) return false;
        hrefs.push_back(std::move(*href));
        return true;
      }
      if (name.is(davNamespace, "status")) {
        std::string line;
        if (!readText(line)) return false;
        resource.status = statusCode(line);
        return true;
      }
      if (name.is(davNamespace, "propstat")) return readPropstat(resource);
      return reader_.skipElement();
    });
    if (!read) return false;
    for (std::string& href : hrefs) {
      resources.push_back(resource);
      resources.back().href = std::move(href);
    }
    return true;
  }

  // The properties count only when the propstat's status, which may come
  // before or after them, is 200.
  bool readPropstat(ResourceStatus& resource) {
    ResourceStatus found;
    std::optional<int> status;
    bool read = forEachChild([&](const XmlName& name) {
      if (name.is(davNamespace, "prop")) return readProp(found);
      if (name.is(davNamespace, "status")) {
        std::string line;
        if (!readText(line)) return false;
        status = statusCode(line);
        return true;
      }
      return reader_.skipElement();
    });
    if (!read) return false;
    if (status != 200) return true;
    if (found.etag) resource.etag = std::move(found.etag);
    if (found.addressData) resource.addressData = std::move(found.addressData);
    if (found.displayName) resource.displayName = std::move(found.displayName);
    if (found.currentUserPrincipal) {
      resource.currentUserPrincipal = std::move(found.currentUserPrincipal);
    }
    resource.isAddressBook = resource.isAddressBook || found.isAddressBook;
    for (std::string& home : found.addressBookHomes) {
      resource.addressBookHomes.push_back(std::move(home));
    }
    return true;
  }

  bool readProp(ResourceStatus& found) {
    return forEachChild([&](const XmlName& name) {
      if (name.is(davNamespace, "getetag")) return readTrimmed(found.etag);
      if (name.is(davNamespace, "displayname")) {
        found.displayName.emplace();
        return readText(*found.displayName);
      }
      if (name.is(cardDavNamespace, "address-data")) {
        found.addressData.emplace();
        return readText(*found.addressData);
      }
      if (name.is(davNamespace, "resourcetype")) {
        return forEachChild([&](const XmlName& type) {
          if (type.is(cardDavNamespace, "addressbook")) found.isAddressBook = true;
          return reader_.skipElement();
        });
      }
      if (name.is(davNamespace, "current-user-principal")) {
        return forEachHref([&](std::string href) { found.currentUserPrincipal = std::move(href); });
      }
      if (name.is(cardDavNamespace, "addressbook-home-set")) {
        return forEachHref(
            [&](std::string href) { found.addressBookHomes.push_back(std::move(href)); });
      }
      return reader_.skipElement();
    });
  }

  template <typename Take>
  bool forEachHref(Take take) {
    return forEachChild([&](const XmlName& name) {
      if (!name.is(davNamespace, "href")) return reader_.skipElement();
      std::optional<std::string> href;
      if (!readTrimmed(href)) return false;
      take(std::move(*href));
      return true;
    });
  }

  XmlReader reader_;
};

}  // namespace

MultistatusReading readMultistatus(std::string_view body, std::size_t maxBytes) {
  return MultistatusParser(body, maxBytes).read();
}

}  // namespace carddav
