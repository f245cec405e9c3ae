#include "platform/qt/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>

namespace platform::qt {
namespace {

constexpr int kWaitMs = 2000;
constexpr char kActivate[] = "activate\n";

}  // namespace

SingleInstance::SingleInstance(const QString& dataFolder, QObject* parent)
    : QObject(parent), name_(ServerNameFor(dataFolder)) {
  connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::ServerNewConnection);
}

QString SingleInstance::ServerNameFor(const QString& dataFolder) {
  const QByteArray folder = QDir(dataFolder).canonicalPath().toUtf8();
  return "quillary-" + QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(16);
}

bool SingleInstance::Claim() {
  if (server_.listen(name_)) return true;
  if (AskRunningCopy()) return false;
  // Nobody answered: the name was left behind by a copy that ended abruptly.
  QLocalServer::removeServer(name_);
  return server_.listen(name_);
}

bool SingleInstance::AskRunningCopy() {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(kWaitMs)) return false;
  socket.write(kActivate);
  socket.waitForBytesWritten(kWaitMs);
  socket.disconnectFromServer();
  return true;
}

void SingleInstance::ServerNewConnection() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    emit activationRequested();
  }
}

}  // namespace platform::qt
