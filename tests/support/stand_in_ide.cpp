#include "support/stand_in_ide.h"

#include <windows.h>
// After windows.h, whose types it uses.
#include <tlhelp32.h>

#include "support/files.h"
#include "support/process.h"

namespace zqmv5::testing {

std::vector<std::string> RecordedEvents(const std::string& record, const std::string& event) {
  std::vector<std::string> details;
  const std::string bytes = ReadWholeFile(record);
  for (size_t start = 0; start < bytes.size();) {
    size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    const std::string line = bytes.substr(start, end - start);
    start = end + 2;
    const size_t space = line.find(' ');
    if (space == std::string::npos) continue;
    const std::string rest = line.substr(space + 1);
    if (rest == event) details.push_back("");
    if (rest.rfind(event + " ", 0) == 0) details.push_back(rest.substr(event.size() + 1));
  }
  return details;
}

bool WaitForRecord(const std::string& record, const std::string& text, unsigned long ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    if (ReadWholeFile(record).find(text) != std::string::npos) return true;
    Sleep(20);
  }
  return false;
}

void CloseStandIns(unsigned long process_id) {
  for (int round = 0; round < 200; ++round) {
    const std::vector<void*> stand_ins = FindWindowsOf(process_id, "ZQMV5FakeIde", false);
    for (void* window : stand_ins) PostMessageA(static_cast<HWND>(window), WM_CLOSE, 0, 0);
    if (stand_ins.empty()) break;
    Sleep(50);
  }
  if (process_id != 0) return;
  // A stand-in that a run started a moment ago may have no window yet, and
  // would serve the next test: its process is ended too.
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (lstrcmpiA(entry.szExeFile, "C5EE.EXE") != 0 &&
        lstrcmpiA(entry.szExeFile, "fake_ide.exe") != 0) {
      continue;
    }
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
      TerminateProcess(process, 1);
      WaitForSingleObject(process, 5000);
      CloseHandle(process);
    }
  }
  CloseHandle(snapshot);
}

}  // namespace zqmv5::testing
