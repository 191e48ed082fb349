#include "platform/qt/http.h"

#include <QByteArray>
#include <QEventLoop>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <memory>
#include <string_view>

#include "platform/machine_http.h"
#include "platform/qt/application_object.h"

namespace platform::qt {

namespace {

QByteArray bytesOf(std::string_view text) {
  return {text.data(), static_cast<qsizetype>(text.size())};
}

void append(std::string& to, const QByteArray& bytes) {
  to.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Whether Qt reports with this error only the status of an answer that came
// whole (404, 412, 500, ...), which the caller judges itself.
bool namesTheStatus(QNetworkReply::NetworkError error) {
  using Error = QNetworkReply::NetworkError;
  bool content = error >= Error::ContentAccessDenied && error <= Error::UnknownContentError &&
                 error != Error::ContentReSendError;
  bool server = error >= Error::InternalServerError && error <= Error::UnknownServerError;
  return error == Error::NoError || content || server ||
         error == Error::ProtocolInvalidOperationError;
}

HttpFailure failureOf(QNetworkReply::NetworkError error) {
  switch (error) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::ProtocolUnknownError:
      return HttpFailure::unreachable;
    case QNetworkReply::SslHandshakeFailedError:
      return HttpFailure::certificate;
    default:
      return HttpFailure::broken;
  }
}

QNetworkRequest qtRequestOf(const HttpRequest& request) {
  QNetworkRequest qtRequest(QUrl::fromEncoded(bytesOf(request.url), QUrl::StrictMode));
  qtRequest.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
  qtRequest.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
  // A server's session cookie would otherwise ride along with the
  // authorisation the caller gives.
  qtRequest.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
  qtRequest.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
  // Without an encoding named, Qt asks for compressed answers and unpacks
  // them, and the body would no longer be what the headers describe.
  qtRequest.setRawHeader("accept-encoding", "identity");
  for (const auto& [name, value] : request.headers) {
    qtRequest.setRawHeader(bytesOf(name), bytesOf(value));
  }
  return qtRequest;
}

}  // namespace

Http::Http() {
  // The system's proxy settings reach Qt through libproxy, which may look
  // for a proxy configuration on the network and wait for it; the program
  // connects directly.
  manager_.setProxy(QNetworkProxy::NoProxy);
}

HttpResponse Http::send(const HttpRequest& request) {
  QByteArray method = bytesOf(request.method);
  std::unique_ptr<QNetworkReply> reply(
      request.body.empty()
          ? manager_.sendCustomRequest(qtRequestOf(request), method)
          : manager_.sendCustomRequest(qtRequestOf(request), method, bytesOf(request.body)));

  HttpResponse response;
  QEventLoop loop;
  QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
  // Read as it comes, so that an answer larger than allowed ends as soon as
  // it is.
  auto takeBody = [&] {
    if (response.failure != HttpFailure::none) return;
    append(response.body, reply->readAll());
    if (response.body.size() > request.maxBodyBytes) {
      response.failure = HttpFailure::tooLarge;
      reply->abort();
    }
  };
  QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, takeBody);
  QTimer deadline;
  deadline.setSingleShot(true);
  QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
    response.failure = HttpFailure::timedOut;
    reply->abort();
  });
  deadline.start(request.timeout);
  if (!reply->isFinished()) loop.exec();
  takeBody();

  QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
  if (response.failure == HttpFailure::none &&
      (!status.isValid() || !namesTheStatus(reply->error()))) {
    response.failure = failureOf(reply->error());
    response.detail = reply->errorString().toStdString();
  }
  if (response.failure != HttpFailure::none) {
    response.body.clear();
    return response;
  }
  response.status = status.toInt();
  for (const auto& [name, value] : reply->rawHeaderPairs()) {
    response.headers.emplace_back(name.toLower().toStdString(), value.toStdString());
  }
  return response;
}

}  // namespace platform::qt

namespace platform {

std::unique_ptr<Http> makeMachineHttp() {
  qt::ensureApplicationObject();
  return std::make_unique<qt::Http>();
}

}  // namespace platform
