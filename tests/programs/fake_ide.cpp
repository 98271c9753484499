// A stand-in for the IDE on its DDE side: serves the service "ClarionWin" (to
// a connect by name and to a wildcard connect), records every command that it
// is sent and what "AutoPick" held in the IDE's INI file at that moment,
// answers the items "GetErrorNum" and "GetErrorMsg" with values it is given,
// can wait before it serves (a slow IDE start) and ends by itself.
//
// It speaks the DDE message protocol itself instead of using DDEML: Wine's
// DDEML server follows each answer to a request with an acknowledgement that a
// DDEML client takes for the answer to its next transaction, which real IDEs
// do not do. Answering WM_DDE_REQUEST with WM_DDE_DATA alone shows the client
// as it behaves against the real IDE.
//
// Settings come from section [FakeIde] of "fake_ide.cfg" beside the program
// (as when ZQMV5.exe starts it with no arguments of ours), then from its own
// command line ("--name value"):
//   Service / --service           DDE service name             ("ClarionWin")
//   ServeAfter / --serve-after    ms before serving; -1 never  (0)
//   LiveFor / --live-for          ms until it ends by itself   (60000)
//   HoldExecute / --hold-execute  ms before acknowledging an execute (0)
//   HangExecute / --hang-execute  ms without pumping messages when an execute
//                                 arrives, as a hung IDE does (0)
//   RefuseExecute / --refuse-execute  1: acknowledge executes negatively,
//                                 2: answer them busy, 3: end the
//                                 conversation instead of an answer (0)
//   ErrorNum / --error-num        value of "GetErrorNum"       ("0")
//   ErrorMsg / --error-msg        value of "GetErrorMsg"       ("")
//   Record / --record             record file    ("fake_ide.log" beside it)
//   IdeIni / --ide-ini            INI file with "AutoPick"  (its name, .ini)
// The record has one line per event, "<ms since start> <event> <detail>":
// started, serving, connect, execute, autopick, request, terminate, exit.
// WM_CLOSE to its window (class "ZQMV5FakeIde") ends it at once.

#include <windows.h>
// windows.h leaves the DDE messages out when WIN32_LEAN_AND_MEAN is defined.
#include <dde.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr char kWindowClass[] = "ZQMV5FakeIde";
constexpr UINT_PTR kServeTimer = 1;
constexpr UINT_PTR kLiveTimer = 2;
constexpr UINT_PTR kHoldTimer = 3;

struct Settings {
  std::string service = "ClarionWin";
  long serve_after_ms = 0;
  long live_for_ms = 60000;
  long hold_execute_ms = 0;
  long hang_execute_ms = 0;
  long refuse_execute = 0;
  std::string error_num = "0";
  std::string error_msg;
  std::string record;
  std::string ide_ini;
};

struct PendingAck {
  HWND client;
  HGLOBAL commands;
  WORD status;
  DWORD due;
};

Settings g_settings;
bool g_serving = false;
std::map<HWND, std::string> g_conversations;  // client window -> topic
std::vector<PendingAck> g_pending;
LARGE_INTEGER g_start;
LARGE_INTEGER g_frequency;

std::string Directory(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string ModulePath() {
  char module[MAX_PATH * 2] = {};
  GetModuleFileNameA(nullptr, module, sizeof(module));
  return module;
}

std::string IniText(const std::string& file, const char* section, const char* entry,
                    const std::string& default_value) {
  char value[4096] = {};
  GetPrivateProfileStringA(section, entry, default_value.c_str(), value, sizeof(value),
                           file.c_str());
  return value;
}

bool SameName(const std::string& a, const std::string& b) {
  return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

void Record(const std::string& event, const std::string& detail = "") {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  const double ms = (now.QuadPart - g_start.QuadPart) * 1000.0 / g_frequency.QuadPart;
  char stamp[32];
  std::snprintf(stamp, sizeof(stamp), "%.1f ", ms);
  std::string line = stamp + event;
  if (!detail.empty()) line += " " + detail;
  line += "\r\n";
  // Readers look at the record while the program runs, and several stand-ins
  // may share one: each line goes in with one shared append.
  for (int attempt = 0; attempt < 100; ++attempt) {
    HANDLE file = CreateFileA(g_settings.record.c_str(), FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      CloseHandle(file);
      return;
    }
    Sleep(10);
  }
}

void LoadSettings(int argc, char** argv) {
  const std::string module = ModulePath();
  const std::string directory = Directory(module);
  std::string config = directory + "\\fake_ide.cfg";
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::string(argv[i]) == "--config") config = argv[i + 1];
  }
  Settings& s = g_settings;
  std::string base = module;
  const size_t dot = base.find_last_of('.');
  if (dot != std::string::npos && dot > base.find_last_of("\\/")) base.erase(dot);
  s.record = directory + "\\fake_ide.log";
  s.ide_ini = base + ".ini";

  const char* section = "FakeIde";
  s.service = IniText(config, section, "Service", s.service);
  s.serve_after_ms = std::atol(IniText(config, section, "ServeAfter", "0").c_str());
  s.live_for_ms = std::atol(IniText(config, section, "LiveFor", "60000").c_str());
  s.hold_execute_ms = std::atol(IniText(config, section, "HoldExecute", "0").c_str());
  s.hang_execute_ms = std::atol(IniText(config, section, "HangExecute", "0").c_str());
  s.refuse_execute = std::atol(IniText(config, section, "RefuseExecute", "0").c_str());
  s.error_num = IniText(config, section, "ErrorNum", s.error_num);
  s.error_msg = IniText(config, section, "ErrorMsg", s.error_msg);
  s.record = IniText(config, section, "Record", s.record);
  s.ide_ini = IniText(config, section, "IdeIni", s.ide_ini);

  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const std::string value = argv[i + 1];
    if (name == "--service") s.service = value;
    if (name == "--serve-after") s.serve_after_ms = std::atol(value.c_str());
    if (name == "--live-for") s.live_for_ms = std::atol(value.c_str());
    if (name == "--hold-execute") s.hold_execute_ms = std::atol(value.c_str());
    if (name == "--hang-execute") s.hang_execute_ms = std::atol(value.c_str());
    if (name == "--refuse-execute") s.refuse_execute = std::atol(value.c_str());
    if (name == "--error-num") s.error_num = value;
    if (name == "--error-msg") s.error_msg = value;
    if (name == "--record") s.record = value;
    if (name == "--ide-ini") s.ide_ini = value;
  }
}

std::string AtomText(ATOM atom) {
  if (atom == 0) return "*";
  char name[256] = {};
  GlobalGetAtomNameA(atom, name, sizeof(name));
  return name;
}

// The command of a WM_DDE_EXECUTE. A client window that works in UTF-16 may
// send it so; an execute string here always starts with "[", so a zero second
// byte tells.
std::string CommandText(HGLOBAL commands) {
  const SIZE_T size = GlobalSize(commands);
  const char* data = static_cast<const char*>(GlobalLock(commands));
  if (data == nullptr) return "";
  std::string text;
  if (size >= 2 && data[1] == '\0' && data[0] != '\0') {
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(data);
    const size_t length = wcsnlen(wide, size / sizeof(wchar_t));
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(length), nullptr, 0,
                                          nullptr, nullptr);
    text.resize(bytes);
    WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(length), text.data(), bytes, nullptr,
                        nullptr);
  } else {
    text.assign(data, strnlen(data, size));
  }
  GlobalUnlock(commands);
  return text;
}

void Acknowledge(HWND server, HWND client, WORD status, UINT_PTR second) {
  PostMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(server),
               PackDDElParam(WM_DDE_ACK, status, second));
}

void OnInitiate(HWND server, HWND client, LPARAM lparam) {
  if (!g_serving || client == server) return;
  const std::string application = AtomText(LOWORD(lparam));
  const std::string topic = AtomText(HIWORD(lparam));
  if (application != "*" && !SameName(application, g_settings.service)) return;
  Record("connect", application + "|" + topic);
  const std::string answered_topic = topic == "*" ? "System" : topic;
  // The answer carries atoms of our own, which the client deletes.
  const ATOM service_atom = GlobalAddAtomA(g_settings.service.c_str());
  const ATOM topic_atom = GlobalAddAtomA(answered_topic.c_str());
  g_conversations[client] = answered_topic;
  SendMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(server),
               MAKELPARAM(service_atom, topic_atom));
}

void OnExecute(HWND server, HWND client, HGLOBAL commands) {
  const std::string command = CommandText(commands);
  Record("execute", command);
  Record("autopick", IniText(g_settings.ide_ini, "Environment", "AutoPick", "(none)"));
  if (g_settings.refuse_execute == 3) {
    g_conversations.erase(client);
    PostMessageA(client, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(server), 0);
    return;
  }
  // fAck, or fBusy
  const WORD status = g_settings.refuse_execute == 0   ? 0x8000
                      : g_settings.refuse_execute == 2 ? 0x4000
                                                       : 0;
  if (g_settings.hang_execute_ms > 0) Sleep(static_cast<DWORD>(g_settings.hang_execute_ms));
  if (g_settings.hold_execute_ms > 0) {
    g_pending.push_back({client, commands, status, GetTickCount() + g_settings.hold_execute_ms});
    SetTimer(server, kHoldTimer, 10, nullptr);
    return;
  }
  Acknowledge(server, client, status, reinterpret_cast<UINT_PTR>(commands));
}

void OnRequest(HWND server, HWND client, LPARAM lparam) {
  const UINT format = LOWORD(lparam);
  const ATOM item_atom = HIWORD(lparam);
  const std::string item = AtomText(item_atom);
  const std::string* value = nullptr;
  if (SameName(item, "GetErrorNum")) value = &g_settings.error_num;
  if (SameName(item, "GetErrorMsg")) value = &g_settings.error_msg;
  Record("request", item + (value ? " = " + *value : " refused"));
  if (value == nullptr || format != CF_TEXT) {
    Acknowledge(server, client, 0, item_atom);
    return;
  }
  const SIZE_T size = offsetof(DDEDATA, Value) + value->size() + 1;
  HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, size);
  if (data == nullptr) {
    Acknowledge(server, client, 0, item_atom);
    return;
  }
  DDEDATA* block = static_cast<DDEDATA*>(GlobalLock(data));
  block->fResponse = 1;
  block->fRelease = 1;  // the client frees the data
  block->fAckReq = 0;   // the data alone answers the request
  block->cfFormat = CF_TEXT;
  memcpy(block->Value, value->c_str(), value->size() + 1);
  GlobalUnlock(data);
  const LPARAM packed = PackDDElParam(WM_DDE_DATA, reinterpret_cast<UINT_PTR>(data), item_atom);
  if (!PostMessageA(client, WM_DDE_DATA, reinterpret_cast<WPARAM>(server), packed)) {
    GlobalFree(data);
    FreeDDElParam(WM_DDE_DATA, packed);
  }
}

// Pokes and advise loops are not served: a negative acknowledgement that
// names the item.
void Refuse(HWND server, HWND client, UINT message, LPARAM lparam) {
  UINT_PTR low = 0;
  UINT_PTR high = 0;
  if (message == WM_DDE_UNADVISE) {
    high = HIWORD(lparam);
  } else {
    UnpackDDElParam(message, lparam, &low, &high);
    FreeDDElParam(message, lparam);
  }
  Record("refused", std::to_string(message));
  Acknowledge(server, client, 0, high);
}

void AcknowledgeDue(HWND server, bool all) {
  const DWORD now = GetTickCount();
  for (size_t i = 0; i < g_pending.size();) {
    if (all || static_cast<LONG>(now - g_pending[i].due) >= 0) {
      Acknowledge(server, g_pending[i].client, g_pending[i].status,
                  reinterpret_cast<UINT_PTR>(g_pending[i].commands));
      g_pending.erase(g_pending.begin() + i);
    } else {
      ++i;
    }
  }
  if (g_pending.empty()) KillTimer(server, kHoldTimer);
}

void StartServing() {
  g_serving = true;
  Record("serving", g_settings.service);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  HWND client = reinterpret_cast<HWND>(wparam);
  switch (message) {
    case WM_DDE_INITIATE:
      OnInitiate(window, client, lparam);
      return 0;
    case WM_DDE_EXECUTE:
      OnExecute(window, client, reinterpret_cast<HGLOBAL>(lparam));
      return 0;
    case WM_DDE_REQUEST:
      OnRequest(window, client, lparam);
      return 0;
    case WM_DDE_POKE:
    case WM_DDE_ADVISE:
    case WM_DDE_UNADVISE:
      Refuse(window, client, message, lparam);
      return 0;
    case WM_DDE_ACK: {
      UINT_PTR low = 0;
      UINT_PTR high = 0;
      UnpackDDElParam(message, lparam, &low, &high);
      FreeDDElParam(message, lparam);
      if (high != 0) GlobalDeleteAtom(static_cast<ATOM>(high));
      return 0;
    }
    case WM_DDE_TERMINATE:
      Record("terminate");
      if (g_conversations.erase(client) != 0) {
        PostMessageA(client, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(window), 0);
      }
      return 0;
    case WM_TIMER:
      if (wparam == kServeTimer) {
        KillTimer(window, kServeTimer);
        StartServing();
      } else if (wparam == kLiveTimer) {
        DestroyWindow(window);
      } else if (wparam == kHoldTimer) {
        AcknowledgeDue(window, false);
      }
      return 0;
    case WM_DESTROY:
      AcknowledgeDue(window, true);
      for (const auto& [conversation_client, topic] : g_conversations) {
        PostMessageA(conversation_client, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(window), 0);
      }
      g_conversations.clear();
      Record("exit");
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

int main(int argc, char** argv) {
  QueryPerformanceFrequency(&g_frequency);
  QueryPerformanceCounter(&g_start);
  LoadSettings(argc, argv);
  Record("started",
         "pid=" + std::to_string(GetCurrentProcessId()) + " service=" + g_settings.service);

  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.lpszClassName = kWindowClass;
  RegisterClassA(&window_class);
  // A hidden top-level window: DDE connects are broadcast to top-level windows
  // only.
  HWND window = CreateWindowExA(0, kWindowClass, "Stand-in IDE", WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                                nullptr, instance, nullptr);
  if (window == nullptr) return 1;

  if (g_settings.serve_after_ms == 0) {
    StartServing();
  } else if (g_settings.serve_after_ms > 0) {
    SetTimer(window, kServeTimer, static_cast<UINT>(g_settings.serve_after_ms), nullptr);
  }
  // Never forever: no test or demo run may leave a stand-in behind.
  if (g_settings.live_for_ms <= 0) g_settings.live_for_ms = 60000;
  SetTimer(window, kLiveTimer, static_cast<UINT>(g_settings.live_for_ms), nullptr);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
