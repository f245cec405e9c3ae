// One running copy per data folder. The first copy takes a lock named after the folder
// and then listens on a local socket of that name; a later start finds the lock taken,
// reaches the running copy (waiting for it while it is still starting), asks it to
// come to the front and ends without showing anything.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

namespace platform::qt {

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  explicit SingleInstance(const QString& dataFolder, QObject* parent = nullptr);

  // True when this is the first copy (it holds the folder and listens); false when
  // another copy holds it and was asked to show itself, or did not answer in time.
  bool Claim();
  // Claim's two steps, apart for tests of a copy caught between them: taking the
  // folder (false when a running copy holds it), and listening for later starts.
  bool Lock();
  bool Listen();
  static QString ServerNameFor(const QString& dataFolder);

 signals:
  void activationRequested();

 private:
  bool AskRunningCopy();
  void ServerNewConnection();

  QString name_;
  QLockFile lock_;
  QLocalServer server_;
};

}  // namespace platform::qt
