#pragma once
// The channel between copies of the program: the first copy of a user and
// title listens on a local socket in the user's private runtime folder;
// later copies connect to it and send one-line requests about its windows.
//
// A copy that was killed leaves its socket file behind. A file nobody
// answers on is removed and taken over, under a lock file that tells a dead
// holder's lock from a live one, so neither a stale file nor two copies
// starting at the same moment can leave the user without a first copy (or
// with two).
//
// Both ends check that the other end belongs to the same user.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/win_types.h"

class CWnd;

// How long a later copy waits for the first one to answer one request. The
// first copy may still be starting; a copy that answers nothing in this
// time counts as hung and the request as failed.
inline constexpr int kInstanceReplyTimeoutMs = 5000;

// The socket path for a title and class key: private to the user (the
// runtime folder, and the user id in the name), distinct per title and key.
[[nodiscard]] std::string InstanceChannelPath(std::string_view title, DWORD classKey);

// What the first copy does with a path a later copy hands on: true when it
// took the path (an existing folder or file), false when it ignored it.
using InstanceOpenFn = std::function<bool(const std::string& path)>;

// The environment variable through which a desktop hands a starting
// program its activation token; a window may come to the front with it.
inline constexpr const char* kActivationTokenVariable = "XDG_ACTIVATION_TOKEN";

// A path or token as one word of a request line: every byte that is not
// printable ASCII, a space or '%' becomes %XX, so names with spaces, line
// breaks or bytes that are not UTF-8 travel unchanged.
[[nodiscard]] std::string EscapeInstanceWord(std::string_view bytes);
// The bytes of an escaped word; nothing for a malformed escape.
[[nodiscard]] std::optional<std::string> UnescapeInstanceWord(std::string_view word);

// A later copy's connection to the first copy.
class InstanceClient {
 public:
  ~InstanceClient();
  InstanceClient(const InstanceClient&) = delete;
  InstanceClient& operator=(const InstanceClient&) = delete;

  // Null when nobody of this user answers on path within timeoutMs.
  [[nodiscard]] static std::shared_ptr<InstanceClient> Connect(const std::string& path, int timeoutMs);

  // Sends one request line and answers the reply line, or nothing when the
  // other copy does not answer within kInstanceReplyTimeoutMs.
  [[nodiscard]] std::optional<std::string> Request(std::string_view line);

 private:
  struct Impl;
  explicit InstanceClient(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> m_impl;
};

// The first copy's end. It owns the socket name from Claim on; requests
// that arrive before Serve wait in the queue.
class InstanceServer {
 public:
  using MainWindowFn = std::function<CWnd*()>;

  ~InstanceServer();
  InstanceServer(const InstanceServer&) = delete;
  InstanceServer& operator=(const InstanceServer&) = delete;

  // Answers requests from now on about the window mainWindow() returns at
  // the time of each request (null: every request fails); paths another
  // copy hands on go to open (none: they are refused).
  void Serve(MainWindowFn mainWindow, InstanceOpenFn open = {});
  [[nodiscard]] bool IsServing() const;
  [[nodiscard]] const std::string& GetPath() const;

 private:
  friend struct InstanceClaim;
  struct Impl;
  explicit InstanceServer(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> m_impl;
};

// Either a connection to the running first copy, or (when there is none)
// this copy's own server, already owning the name.
struct InstanceClaim {
  std::shared_ptr<InstanceClient> running;
  std::unique_ptr<InstanceServer> server;

  [[nodiscard]] static InstanceClaim Make(const std::string& path);
};

// The requests, and the running copy's answer to one (exposed for tests).
// "STATE main|popup" answers "OK iconic=0|1 popup=0|1 visible=0|1";
// "SHOW main|popup N" and "FOREGROUND main|popup" answer "OK 0|1";
// "OPEN <escaped path>" hands the path to open and answers "OK 0|1";
// "TOKEN <escaped token>" makes the token the one the next activation of a
// window uses (kActivationTokenVariable) and answers "OK 1";
// anything else, or a request about a window that is not there, "ERR".
[[nodiscard]] std::string AnswerInstanceRequest(std::string_view request, CWnd* mainWindow,
                                                const InstanceOpenFn& open = {});
