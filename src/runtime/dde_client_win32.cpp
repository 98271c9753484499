// The DDE client over the DDE Management Library (DDEML).

#include <windows.h>
// windows.h leaves DDEML out when WIN32_LEAN_AND_MEAN is defined.
#include <ddeml.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "runtime/win32_backends.h"

namespace zqmv5 {
namespace {

// The response with which unasked data is acknowledged (see Acknowledge). One
// client-only DDEML instance runs on the program's one thread, and DDEML's
// callback carries no pointer of ours, so the setting lives here.
bool g_positive_acknowledgement = true;

HDDEDATA CALLBACK ClientCallback(UINT type, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
  if (type == XTYP_ADVDATA) {
    return reinterpret_cast<HDDEDATA>(
        static_cast<ULONG_PTR>(g_positive_acknowledgement ? DDE_FACK : DDE_FNOTPROCESSED));
  }
  return nullptr;
}

// A DDEML error code as one of the client's error numbers. A conversation
// that the server has ended reports "no conversation" for later transactions.
int FromDdeml(UINT ddeml_error, bool connecting) {
  switch (ddeml_error) {
    case DMLERR_NO_CONV_ESTABLISHED:
      return connecting ? kDdeServerNotFound : kDdeConversationEnded;
    case DMLERR_ADVACKTIMEOUT:
    case DMLERR_DATAACKTIMEOUT:
    case DMLERR_EXECACKTIMEOUT:
    case DMLERR_POKEACKTIMEOUT:
    case DMLERR_UNADVACKTIMEOUT:
      return kDdeTimeOut;
    case DMLERR_BUSY:
      return kDdeServerBusy;
    case DMLERR_NOTPROCESSED:
      return kDdeRefused;
    case DMLERR_SERVER_DIED:
    case DMLERR_POSTMSG_FAILED:
      return kDdeConversationEnded;
    case DMLERR_DLL_NOT_INITIALIZED:
    case DMLERR_LOW_MEMORY:
    case DMLERR_MEMORY_ERROR:
    case DMLERR_SYS_ERROR:
      return kDdeNotAvailable;
    default:
      return kDdeFailed;
  }
}

// A string handle that DDEML frees when it goes; 0 for an empty text, which
// DDEML takes as "any".
class StringHandle {
 public:
  StringHandle(DWORD instance, const std::string& text) : instance_(instance) {
    if (!text.empty()) handle_ = DdeCreateStringHandleA(instance, text.c_str(), CP_WINANSI);
  }
  ~StringHandle() {
    if (handle_) DdeFreeStringHandle(instance_, handle_);
  }
  StringHandle(const StringHandle&) = delete;
  StringHandle& operator=(const StringHandle&) = delete;
  HSZ get() const { return handle_; }

 private:
  DWORD instance_;
  HSZ handle_ = nullptr;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// The top-level windows of this thread.
std::vector<HWND> ThreadWindows() {
  std::vector<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// Wine's DDEML keeps the conversation window of a connect that no server
// answered, and every later connect is broadcast to all those windows too: a
// wait of 30 seconds would pile up hundreds of them and make each attempt
// dearer than the one before. Windows of a DDEML client conversation that the
// failed connect made are therefore destroyed here; where DDEML cleans up
// after itself there are none.
void DestroyWindowsOfFailedConnect(const std::vector<HWND>& before) {
  for (HWND window : ThreadWindows()) {
    if (std::find(before.begin(), before.end(), window) != before.end()) continue;
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    const std::string window_class = name;
    if (window_class.rfind("WineDdeClient", 0) == 0 || window_class == "DDEMLAnsiClient" ||
        window_class == "DDEMLUnicodeClient") {
      DestroyWindow(window);
    }
  }
}

class Win32DdeClient : public DdeClient {
 public:
  explicit Win32DdeClient(ErrorState& error) : error_(error) {}

  ~Win32DdeClient() override {
    for (const auto& [channel, conversation] : channels_) DdeDisconnect(conversation);
    // DDEML would wait for a server that has stopped answering once more: a
    // program that gave one up ends without it, and Windows cleans up.
    if (instance_ != 0 && !gave_up_) DdeUninitialize(instance_);
  }

  int32_t ConnectChannel(const std::string& application, const std::string& topic) override {
    if (!Start()) return 0;
    std::string service = application;
    std::string wanted_topic = topic;
    const size_t comma = application.find(',');
    if (topic.empty() && comma != std::string::npos) {
      service = application.substr(0, comma);
      wanted_topic = application.substr(comma + 1);
    }
    StringHandle service_handle(instance_, service);
    StringHandle topic_handle(instance_, wanted_topic);
    const std::vector<HWND> windows_before = ThreadWindows();
    HCONV conversation = DdeConnect(instance_, service_handle.get(), topic_handle.get(), nullptr);
    if (conversation == nullptr) {
      SetFromDdeml(0);
      DestroyWindowsOfFailedConnect(windows_before);
      return 0;
    }
    // Channels are small numbers of our own rather than handles, so that no
    // handle value can ever come out as 0 or be mistaken for another channel.
    const int32_t channel = next_channel_++;
    channels_[channel] = conversation;
    error_.Clear();
    return channel;
  }

  void ExecuteCommand(int32_t channel, const std::string& command) override {
    HCONV conversation = Find(channel);
    if (conversation == nullptr) return;
    std::string data = command;
    DWORD result = 0;
    HDDEDATA done = DdeClientTransaction(reinterpret_cast<LPBYTE>(data.data()),
                                         static_cast<DWORD>(data.size() + 1), conversation, nullptr,
                                         CF_TEXT, XTYP_EXECUTE, timeout_ms_, &result);
    if (done == nullptr) {
      SetFromDdeml(channel);
    } else {
      error_.Clear();
    }
  }

  void RequestNumber(int32_t channel, const std::string& item, int32_t* value) override {
    std::string text;
    if (Request(channel, item, &text)) *value = DdeNumberFromText(text);
  }

  void RequestText(int32_t channel, const std::string& item, std::string* value) override {
    std::string text;
    if (Request(channel, item, &text)) *value = text;
  }

  void CloseChannel(int32_t channel) override {
    HCONV conversation = Find(channel);
    if (conversation == nullptr) return;
    // A server that has already gone makes the disconnect fail; the channel is
    // closed for this side all the same. One that did not answer in time is
    // not waited for again: the disconnect would wait for its answer too.
    if (hung_.erase(channel) == 0) DdeDisconnect(conversation);
    channels_.erase(channel);
    error_.Clear();
  }

  void Acknowledge(uint8_t response) override {
    g_positive_acknowledgement = response != 0;
    error_.Clear();
  }

  void SetTimeout(int32_t hundredths) override {
    if (hundredths < 1) hundredths = 100;
    // DDEML counts milliseconds in a DWORD whose highest value means "do not
    // wait"; the longest time-out stays well below it.
    const uint64_t ms = static_cast<uint64_t>(hundredths) * 10;
    timeout_ms_ = static_cast<DWORD>(ms > 0x7FFFFFFFu ? 0x7FFFFFFFu : ms);
    error_.Clear();
  }

 private:
  // DDEML is started at the first connect, so that runs that never use DDE
  // never start it.
  bool Start() {
    if (instance_ != 0) return true;
    DWORD instance = 0;
    if (DdeInitializeA(&instance, ClientCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
      SetDdeError(error_, kDdeNotAvailable);
      return false;
    }
    instance_ = instance;
    return true;
  }

  // The conversation of an open channel; otherwise null with the error set, at
  // once and without asking DDEML.
  HCONV Find(int32_t channel) {
    auto found = channels_.find(channel);
    if (found == channels_.end()) {
      SetDdeError(error_, kDdeChannelNotOpen);
      return nullptr;
    }
    return found->second;
  }

  bool Request(int32_t channel, const std::string& item, std::string* text) {
    HCONV conversation = Find(channel);
    if (conversation == nullptr) return false;
    StringHandle item_handle(instance_, item);
    DWORD result = 0;
    HDDEDATA data = DdeClientTransaction(nullptr, 0, conversation, item_handle.get(), CF_TEXT,
                                         XTYP_REQUEST, timeout_ms_, &result);
    if (data == nullptr) {
      SetFromDdeml(channel);
      return false;
    }
    const DWORD size = DdeGetData(data, nullptr, 0, 0);
    std::string bytes(size, '\0');
    if (size > 0) DdeGetData(data, reinterpret_cast<LPBYTE>(bytes.data()), size, 0);
    DdeFreeDataHandle(data);
    // CF_TEXT ends at its NUL; the data block may be longer than the text.
    *text = bytes.substr(0, bytes.find('\0'));
    error_.Clear();
    return true;
  }

  // The error of the last DDEML call, made on `channel` (0 for a connect).
  void SetFromDdeml(int32_t channel) {
    const UINT ddeml_error = DdeGetLastError(instance_);
    const int code = FromDdeml(ddeml_error, channel == 0);
    if (code == kDdeTimeOut) {
      hung_.insert(channel);
      gave_up_ = true;
    }
    if (code == kDdeFailed) {
      error_.Set(code, DdeErrorText(code) + " " + std::to_string(ddeml_error));
    } else {
      SetDdeError(error_, code);
    }
  }

  ErrorState& error_;
  DWORD instance_ = 0;
  std::map<int32_t, HCONV> channels_;
  std::set<int32_t> hung_;  // channels whose server did not answer in time
  bool gave_up_ = false;    // some conversation was given up
  int32_t next_channel_ = 1;
  DWORD timeout_ms_ = static_cast<DWORD>(kDefaultDdeTimeOut) * 10;
};

}  // namespace

std::unique_ptr<DdeClient> NewWin32DdeClient(ErrorState& error) {
  return std::make_unique<Win32DdeClient>(error);
}

}  // namespace zqmv5
