#include "carddav/url.h"

namespace carddav {

std::string originOf(std::string_view url) {
  std::size_t scheme = url.find("://");
  if (scheme == std::string_view::npos || scheme == 0) return {};
  std::size_t path = url.find('/', scheme + 3);
  std::string_view origin = url.substr(0, path);
  return origin.size() > scheme + 3 ? std::string(origin) : std::string();
}

std::string resolve(std::string_view base, std::string_view href) {
  if (href.starts_with("http://") || href.starts_with("https://")) return std::string(href);
  if (href.starts_with('/')) return originOf(base) + std::string(href);
  std::string_view folder = base.substr(0, base.rfind('/') + 1);
  return std::string(folder) + std::string(href);
}

bool sameResource(std::string_view a, std::string_view b) {
  if (a.ends_with('/')) a.remove_suffix(1);
  if (b.ends_with('/')) b.remove_suffix(1);
  return a == b;
}

namespace {

std::string decoded(std::string_view href) {
  std::string out;
  for (std::size_t i = 0; i < href.size(); ++i) {
    auto digit = [&](std::size_t at) {
      char c = at < href.size() ? href[at] : '\0';
      if (c >= '0' && c <= '9') return c - '0';
      if (c >= 'A' && c <= 'F') return c - 'A' + 10;
      if (c >= 'a' && c <= 'f') return c - 'a' + 10;
      return -1;
    };
    if (href[i] == '%' && digit(i + 1) >= 0 && digit(i + 2) >= 0) {
      out += static_cast<char>(digit(i + 1) * 16 + digit(i + 2));
      i += 2;
    } else {
      out += href[i];
    }
  }
  return out;
}

}  // namespace

bool samePath(std::string_view a, std::string_view b) { return a == b || decoded(a) == decoded(b); }

std::string pathSegment(std::string_view text) {
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                 c == '-' || c == '.' || c == '_' || c == '~';
    if (plain) {
      out += c;
    } else {
      out += '%';
      out += hex[byte >> 4];
      out += hex[byte & 0x0F];
    }
  }
  return out;
}

}  // namespace carddav
