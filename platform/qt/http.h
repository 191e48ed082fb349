#pragma once

#include <QNetworkAccessManager>

#include "platform/http.h"

namespace platform::qt {

// HTTP through Qt Network, for a thread with a QCoreApplication (or
// QApplication); makeMachineHttp makes one where there is none. send() waits
// in a local event loop, so the window's events go on. Redirections are not
// followed, certificate errors are never ignored, cookies are neither sent
// nor kept, no proxy is used, and the body comes as the server sent it:
// Qt's own unpacking of compressed answers is turned off by asking for none.
class Http : public platform::Http {
 public:
  Http();
  [[nodiscard]] HttpResponse send(const HttpRequest& request) override;

 private:
  QNetworkAccessManager manager_;
};

}  // namespace platform::qt
