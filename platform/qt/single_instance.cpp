#include "platform/qt/single_instance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QThread>

namespace platform::qt {
namespace {

constexpr int kWaitMs = 2000;
// How long a later start waits for a running copy that has the folder but is not
// listening yet; the running copy listens right after taking the folder.
constexpr int kStartingCopyWaitMs = 10000;
constexpr int kRetryMs = 100;
constexpr char kActivate[] = "activate\n";

}  // namespace

SingleInstance::SingleInstance(const QString& dataFolder, QObject* parent)
    : QObject(parent),
      name_(ServerNameFor(dataFolder)),
      lock_(QDir(QDir::tempPath()).absoluteFilePath(name_ + ".lock")) {
  // Held for the whole run, however long; a copy that ended without letting go is
  // recognised by its process being gone.
  lock_.setStaleLockTime(0);
  connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::ServerNewConnection);
}

QString SingleInstance::ServerNameFor(const QString& dataFolder) {
  const QByteArray folder = QDir(dataFolder).canonicalPath().toUtf8();
  return "quillary-" + QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(16);
}

bool SingleInstance::Claim() {
  if (!Lock()) {
    AskRunningCopy();  // answered or not, the folder is the running copy's
    return false;
  }
  Listen();  // without it later starts cannot reach this copy, but this one runs
  return true;
}

bool SingleInstance::Lock() { return lock_.tryLock(0); }

// Only the holder of the lock listens, so a name still there is left from a copy that
// ended abruptly.
bool SingleInstance::Listen() {
  QLocalServer::removeServer(name_);
  return server_.listen(name_);
}

bool SingleInstance::AskRunningCopy() {
  const QDeadlineTimer deadline(kStartingCopyWaitMs);
  do {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (socket.waitForConnected(kWaitMs)) {
      socket.write(kActivate);
      socket.waitForBytesWritten(kWaitMs);
      socket.disconnectFromServer();
      return true;
    }
    QThread::msleep(kRetryMs);
  } while (!deadline.hasExpired());
  return false;
}

void SingleInstance::ServerNewConnection() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    emit activationRequested();
  }
}

}  // namespace platform::qt
