// DDE client conversations over the DDE Management Library (DDEML).

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "win32/win32.h"

namespace zqmv5 {
namespace {

// No advise loops are set up, so DDEML has nothing to tell this client.
HDDEDATA CALLBACK ClientCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
  return nullptr;
}

// DDEML's error codes as the DDE failures' numbers; any other is kDdeFailed.
// A conversation that the server has ended reports "no conversation" for
// later transactions.
int FromDdeml(UINT ddeml_error, bool connecting) {
  static constexpr struct {
    UINT ddeml;
    int code;
  } kCodes[] = {{DMLERR_ADVACKTIMEOUT, kDdeTimeOut},
                {DMLERR_DATAACKTIMEOUT, kDdeTimeOut},
                {DMLERR_EXECACKTIMEOUT, kDdeTimeOut},
                {DMLERR_POKEACKTIMEOUT, kDdeTimeOut},
                {DMLERR_UNADVACKTIMEOUT, kDdeTimeOut},
                {DMLERR_BUSY, kDdeServerBusy},
                {DMLERR_NOTPROCESSED, kDdeRefused},
                {DMLERR_SERVER_DIED, kDdeConversationEnded},
                {DMLERR_POSTMSG_FAILED, kDdeConversationEnded},
                {DMLERR_DLL_NOT_INITIALIZED, kDdeNotAvailable},
                {DMLERR_LOW_MEMORY, kDdeNotAvailable},
                {DMLERR_MEMORY_ERROR, kDdeNotAvailable},
                {DMLERR_SYS_ERROR, kDdeNotAvailable}};
  if (ddeml_error == DMLERR_NO_CONV_ESTABLISHED) {
    return connecting ? kDdeServerNotFound : kDdeConversationEnded;
  }
  for (const auto& entry : kCodes) {
    if (entry.ddeml == ddeml_error) return entry.code;
  }
  return kDdeFailed;
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
  ~Win32DdeClient() override {
    for (const auto& [channel, conversation] : channels_) DdeDisconnect(conversation);
    // DDEML would wait for a server that has stopped answering once more: a
    // program that gave one up ends without it, and Windows cleans up.
    if (instance_ != 0 && !gave_up_) DdeUninitialize(instance_);
  }

  Status Open(const std::string& service, int32_t* channel) override {
    *channel = 0;
    Status status = Start();
    if (!status.ok()) return status;
    StringHandle service_handle(instance_, service);
    const std::vector<HWND> windows_before = ThreadWindows();
    // No topic handle: any topic the service offers.
    HCONV conversation = DdeConnect(instance_, service_handle.get(), nullptr, nullptr);
    if (conversation == nullptr) {
      status = LastError(0);
      DestroyWindowsOfFailedConnect(windows_before);
      return status;
    }
    // Channels are small numbers of our own rather than handles, so that no
    // handle value can ever come out as 0 or be mistaken for another channel.
    *channel = next_channel_++;
    channels_[*channel] = conversation;
    return {};
  }

  Status Send(int32_t channel, const std::string& command) override {
    auto found = channels_.find(channel);
    if (found == channels_.end()) return DdeFailure(kDdeChannelNotOpen);
    std::string data = command;
    DWORD result = 0;
    HDDEDATA done = DdeClientTransaction(reinterpret_cast<LPBYTE>(data.data()),
                                         static_cast<DWORD>(data.size() + 1), found->second,
                                         nullptr, CF_TEXT, XTYP_EXECUTE, timeout_ms_, &result);
    if (done != nullptr) return {};
    const Status failure = LastError(channel);
    // Wine's DDEML gives "not processed" for every negative answer, and for
    // a server that ended the conversation instead of answering: the
    // answer's busy flag and the conversation's state tell them apart.
    if (failure.number() != kDdeRefused) return failure;
    if ((result & DDE_FBUSY) != 0) return DdeFailure(kDdeServerBusy);
    CONVINFO info = {};
    info.cb = sizeof(info);
    if (DdeQueryConvInfo(found->second, QID_SYNC, &info) == 0 ||
        (info.wStatus & ST_CONNECTED) == 0) {
      return DdeFailure(kDdeConversationEnded);
    }
    return failure;
  }

  Status Request(int32_t channel, const std::string& item, std::string* value) override {
    auto found = channels_.find(channel);
    if (found == channels_.end()) return DdeFailure(kDdeChannelNotOpen);
    StringHandle item_handle(instance_, item);
    DWORD result = 0;
    HDDEDATA data = DdeClientTransaction(nullptr, 0, found->second, item_handle.get(), CF_TEXT,
                                         XTYP_REQUEST, timeout_ms_, &result);
    if (data == nullptr) return LastError(channel);
    const DWORD size = DdeGetData(data, nullptr, 0, 0);
    std::string bytes(size, '\0');
    if (size > 0) DdeGetData(data, reinterpret_cast<LPBYTE>(bytes.data()), size, 0);
    DdeFreeDataHandle(data);
    // CF_TEXT ends at its NUL; the data block may be longer than the text.
    *value = bytes.substr(0, bytes.find('\0'));
    return {};
  }

  Status Close(int32_t channel) override {
    auto found = channels_.find(channel);
    if (found == channels_.end()) return DdeFailure(kDdeChannelNotOpen);
    // A server that has already gone makes the disconnect fail; the channel is
    // closed for this side all the same. One that did not answer in time is
    // not waited for again: the disconnect would wait for its answer too.
    if (hung_.erase(channel) == 0) DdeDisconnect(found->second);
    channels_.erase(found);
    return {};
  }

  void SetTimeOut(int32_t hundredths) override {
    if (hundredths < 1) hundredths = 100;
    // DDEML counts milliseconds in a DWORD whose highest value means "do not
    // wait"; the longest time-out stays well below it.
    timeout_ms_ = static_cast<DWORD>(std::min<int64_t>(int64_t{hundredths} * 10, 0x7FFFFFFF));
  }

 private:
  // DDEML is started at the first connect, so that runs that never use DDE
  // never start it.
  Status Start() {
    if (instance_ != 0) return {};
    DWORD instance = 0;
    if (DdeInitializeA(&instance, ClientCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
      return DdeFailure(kDdeNotAvailable);
    }
    instance_ = instance;
    return {};
  }

  // The error of the last DDEML call, made on `channel` (0 for a connect).
  Status LastError(int32_t channel) {
    const UINT ddeml_error = DdeGetLastError(instance_);
    const int code = FromDdeml(ddeml_error, channel == 0);
    if (code == kDdeTimeOut) {
      hung_.insert(channel);
      gave_up_ = true;
    }
    const Status failure = DdeFailure(code);
    return code == kDdeFailed ? failure.With("DDEML error " + std::to_string(ddeml_error))
                              : failure;
  }

  DWORD instance_ = 0;
  std::map<int32_t, HCONV> channels_;
  std::set<int32_t> hung_;  // channels whose server did not answer in time
  bool gave_up_ = false;    // some conversation was given up
  int32_t next_channel_ = 1;
  DWORD timeout_ms_ = 1000;  // until SetTimeOut, as for one below 1
};

}  // namespace

std::unique_ptr<DdeClient> NewWin32DdeClient() { return std::make_unique<Win32DdeClient>(); }

}  // namespace zqmv5
