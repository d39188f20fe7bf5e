// Qt's local sockets carry the channel: they are files in a folder only the
// user can enter, and Qt handles the platform's differences.
#include "platform/ui/instance_channel.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QByteArray>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QObject>
#include <QPointer>
#include <QStandardPaths>
#include <QString>

#include <charconv>
#include <cstdint>
#include <vector>

#include "platform/core/hex_digit.h"
#include "platform/ui/cwnd.h"

namespace {

// Requests and replies are single lines, the longest an OPEN of a path of
// the platform's longest length, every byte escaped; a peer that sends more
// without a line break is not one of ours.
constexpr qint64 kMaxLine = 3 * 4096 + 64;

std::uint64_t Fnv1a(std::string_view text) {
  std::uint64_t hash = 14695981039346656037ull;
  for (char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

// True when the socket's other end runs as this user. Where the platform
// cannot tell, the private folder alone keeps other users out.
bool PeerIsSameUser(const QLocalSocket& socket) {
#if defined(__linux__)
  const auto fd = static_cast<int>(socket.socketDescriptor());
  if (fd < 0) {
    return false;
  }
  ucred credentials{};
  socklen_t length = sizeof credentials;
  if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0) {
    return false;
  }
  return credentials.uid == ::getuid();
#else
  (void)socket;
  return true;
#endif
}

// Reads one line within the deadline; nothing on time-out, a closed
// connection or an overlong line.
std::optional<std::string> ReadLine(QLocalSocket& socket, QDeadlineTimer deadline) {
  while (!socket.canReadLine()) {
    if (socket.bytesAvailable() > kMaxLine || socket.state() != QLocalSocket::ConnectedState) {
      return std::nullopt;
    }
    const qint64 left = deadline.remainingTime();
    if (left == 0 || !socket.waitForReadyRead(static_cast<int>(left))) {
      if (!socket.canReadLine()) {
        return std::nullopt;
      }
    }
  }
  QByteArray line = socket.readLine(kMaxLine + 1);
  if (line.endsWith('\n')) {
    line.chop(1);
  }
  return line.toStdString();
}

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t at = 0;
  while (at < line.size() && words.size() < 8) {
    const std::size_t end = line.find(' ', at);
    const std::size_t stop = end == std::string_view::npos ? line.size() : end;
    if (stop > at) {
      words.push_back(line.substr(at, stop - at));
    }
    at = stop + 1;
  }
  return words;
}

const char* Bit(BOOL value) { return value ? "1" : "0"; }

}  // namespace

std::string EscapeInstanceWord(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string word;
  word.reserve(bytes.size());
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte > 0x20 && byte < 0x7F && byte != '%') {
      word += c;
    } else {
      word += '%';
      word += kHex[byte >> 4];
      word += kHex[byte & 0x0F];
    }
  }
  return word;
}

std::optional<std::string> UnescapeInstanceWord(std::string_view word) {
  std::string bytes;
  bytes.reserve(word.size());
  for (std::size_t at = 0; at < word.size(); ++at) {
    if (word[at] != '%') {
      bytes += word[at];
      continue;
    }
    if (word.size() - at < 3) {
      return std::nullopt;
    }
    const int high = HexDigitValue(word[at + 1]);
    const int low = HexDigitValue(word[at + 2]);
    if (high < 0 || low < 0) {
      return std::nullopt;
    }
    bytes += static_cast<char>(high * 16 + low);
    at += 2;
  }
  return bytes;
}

std::string InstanceChannelPath(std::string_view title, DWORD classKey) {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) {
    folder = QDir::tempPath();
  }
  char hash[17] = {};
  std::to_chars(hash, hash + 16, Fnv1a(title), 16);
  const std::string name = "zuapp-" + std::to_string(::getuid()) + "-" + hash + "-" + std::to_string(classKey);
  return (folder + QLatin1Char('/')).toStdString() + name;
}

// ---- answering

std::string AnswerInstanceRequest(std::string_view request, CWnd* mainWindow, const InstanceOpenFn& open) {
  const std::vector<std::string_view> words = Words(request);
  if (words.size() == 2 && (words[0] == "OPEN" || words[0] == "TOKEN")) {
    const std::optional<std::string> value = UnescapeInstanceWord(words[1]);
    if (!value || mainWindow == nullptr || mainWindow->GetSafeHwnd() == nullptr) {
      return "ERR";
    }
    if (words[0] == "TOKEN") {
      qputenv(kActivationTokenVariable, QByteArray::fromStdString(*value));
      return "OK 1";
    }
    return std::string("OK ") + Bit(open && open(*value) ? TRUE : FALSE);
  }
  if (mainWindow == nullptr || words.size() < 2 || mainWindow->GetSafeHwnd() == nullptr) {
    return "ERR";
  }
  CWnd* target = nullptr;
  if (words[1] == "main") {
    target = mainWindow;
  } else if (words[1] == "popup") {
    target = mainWindow->GetLastActivePopup();
  }
  if (target == nullptr) {
    return "ERR";
  }
  if (words[0] == "STATE" && words.size() == 2) {
    CWnd* popup = mainWindow->GetLastActivePopup();
    const BOOL hasPopup = (popup != nullptr && popup != mainWindow) ? TRUE : FALSE;
    return std::string("OK iconic=") + Bit(target->IsIconic()) + " popup=" + Bit(hasPopup) +
           " visible=" + Bit(target->IsWindowVisible());
  }
  if (words[0] == "SHOW" && words.size() == 3) {
    int command = -1;
    const auto parsed = std::from_chars(words[2].data(), words[2].data() + words[2].size(), command);
    // Only the commands that show a window: another copy may bring this one
    // forward, not hide or close it.
    if (parsed.ec != std::errc() || command < SW_SHOWNORMAL || command > SW_RESTORE || command == SW_MINIMIZE ||
        command == SW_SHOWMINNOACTIVE || command == SW_SHOWMINIMIZED) {
      return "ERR";
    }
    return std::string("OK ") + Bit(target->ShowWindow(command));
  }
  if (words[0] == "FOREGROUND" && words.size() == 2) {
    return std::string("OK ") + Bit(target->SetForegroundWindow());
  }
  return "ERR";
}

// ---- client

struct InstanceClient::Impl {
  QLocalSocket socket;
};

InstanceClient::InstanceClient(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
InstanceClient::~InstanceClient() = default;

std::shared_ptr<InstanceClient> InstanceClient::Connect(const std::string& path, int timeoutMs) {
  auto impl = std::make_unique<Impl>();
  impl->socket.connectToServer(QString::fromStdString(path));
  if (!impl->socket.waitForConnected(timeoutMs) || !PeerIsSameUser(impl->socket)) {
    return nullptr;
  }
  return std::shared_ptr<InstanceClient>(new InstanceClient(std::move(impl)));
}

std::optional<std::string> InstanceClient::Request(std::string_view line) {
  QLocalSocket& socket = m_impl->socket;
  if (socket.state() != QLocalSocket::ConnectedState) {
    return std::nullopt;
  }
  QDeadlineTimer deadline(kInstanceReplyTimeoutMs);
  QByteArray bytes(line.data(), static_cast<qsizetype>(line.size()));
  bytes.append('\n');
  socket.write(bytes);
  if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) {
    if (socket.bytesToWrite() > 0) {
      return std::nullopt;
    }
  }
  return ReadLine(socket, deadline);
}

// ---- server

struct InstanceServer::Impl {
  std::string path;
  QLocalServer server;
  MainWindowFn mainWindow;
  InstanceOpenFn open;
  bool serving = false;

  void AcceptPending() {
    while (QLocalSocket* socket = server.nextPendingConnection()) {
      if (!PeerIsSameUser(*socket)) {
        socket->abort();
        socket->deleteLater();
        continue;
      }
      QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] { Answer(*socket); });
      Answer(*socket);
    }
  }

  void Answer(QLocalSocket& socket) {
    while (socket.canReadLine()) {
      QByteArray line = socket.readLine(kMaxLine + 1);
      if (!line.endsWith('\n')) {
        socket.abort();
        return;
      }
      line.chop(1);
      const std::string reply = AnswerInstanceRequest(line.toStdString(), mainWindow ? mainWindow() : nullptr, open);
      socket.write(QByteArray::fromStdString(reply + "\n"));
      socket.flush();
    }
    if (socket.bytesAvailable() > kMaxLine) {
      socket.abort();
    }
  }
};

InstanceServer::InstanceServer(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

InstanceServer::~InstanceServer() {
  m_impl->server.close();  // removes the socket file
}

void InstanceServer::Serve(MainWindowFn mainWindow, InstanceOpenFn open) {
  m_impl->mainWindow = std::move(mainWindow);
  m_impl->open = std::move(open);
  if (!m_impl->serving) {
    m_impl->serving = true;
    Impl* impl = m_impl.get();
    QObject::connect(&impl->server, &QLocalServer::newConnection, &impl->server, [impl] { impl->AcceptPending(); });
    impl->AcceptPending();
  }
}

bool InstanceServer::IsServing() const { return m_impl->serving; }
const std::string& InstanceServer::GetPath() const { return m_impl->path; }

// ---- claiming the name

InstanceClaim InstanceClaim::Make(const std::string& path) {
  InstanceClaim claim;
  const QString name = QString::fromStdString(path);
  // The lock makes "nobody answers, so take the name over" one step for
  // copies starting together. A lock whose holder died counts as stale.
  QLockFile lock(name + QStringLiteral(".lock"));
  lock.setStaleLockTime(0);
  const bool locked = lock.tryLock(kInstanceReplyTimeoutMs);
  if (auto client = InstanceClient::Connect(path, 1000)) {
    claim.running = std::move(client);
    return claim;
  }
  if (!locked) {
    return claim;  // neither found nor safely first: behave as the only copy, unserved
  }
  auto impl = std::make_unique<InstanceServer::Impl>();
  impl->path = path;
  impl->server.setSocketOptions(QLocalServer::UserAccessOption);
  // Nobody answered: whatever file is there was left by a copy that died.
  QLocalServer::removeServer(name);
  if (impl->server.listen(name)) {
    claim.server.reset(new InstanceServer(std::move(impl)));
  }
  return claim;
}
