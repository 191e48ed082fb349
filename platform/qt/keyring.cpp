#include "platform/qt/keyring.h"

#include <qt6keychain/keychain.h>

#include <QByteArray>
#include <QEventLoop>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

#include "platform/keyring_entry_name.h"
#include "platform/machine_keyring.h"
#include "platform/qt/application_object.h"

namespace platform::qt {

namespace {

QString qtText(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// A job for the entry of user at url, with the plain-text fallback off
// (QtKeychain would otherwise keep the password in a settings file where
// the desktop has no keyring). It deletes itself once it has ended.
template <typename Job>
Job* jobFor(std::string_view url, std::string_view user) {
  auto* job = new Job(QStringLiteral("Morvi-Telefonbuch"));
  job->setKey(qtText(keyringEntryName(url, user)));
  job->setInsecureFallback(false);
  job->setAutoDelete(true);
  return job;
}

// Starts job and waits until it ends, for longestWait at most; whether it
// ended in time without an error. ended runs as it ends, while its results
// are there. A job given up on goes on and deletes itself when it ends: the
// keyring's callbacks hold it, so it must outlive the wait. QtKeychain runs
// its jobs one after the other, so the next one waits behind it.
bool ranWell(QKeychain::Job* job, const std::function<void()>& ended = {}) {
  bool well = false;
  QEventLoop loop;
  QObject::connect(job, &QKeychain::Job::finished, &loop, [&] {
    well = job->error() == QKeychain::NoError;
    if (well && ended) ended();
    loop.quit();
  });
  QTimer::singleShot(Keyring::longestWait, &loop, &QEventLoop::quit);
  job->start();
  loop.exec();
  return well;
}

}  // namespace

std::optional<std::string> Keyring::password(std::string_view url, std::string_view user) {
  auto* job = jobFor<QKeychain::ReadPasswordJob>(url, user);
  std::optional<std::string> password;
  // An entry that is not there ends in an error as well.
  ranWell(job, [&] { password = job->binaryData().toStdString(); });
  return password;
}

bool Keyring::keep(std::string_view url, std::string_view user, std::string_view password) {
  auto* job = jobFor<QKeychain::WritePasswordJob>(url, user);
  job->setTextData(qtText(password));
  return ranWell(job);
}

}  // namespace platform::qt

namespace platform {

std::unique_ptr<Keyring> makeMachineKeyring() {
  qt::ensureApplicationObject();
  return std::make_unique<qt::Keyring>();
}

}  // namespace platform
