#ifndef ZQMV5_TESTING_FAKE_ENV_H_
#define ZQMV5_TESTING_FAKE_ENV_H_

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "env/env.h"

namespace zqmv5 {

// INI files in memory. File names compare as the platform compares them
// (regardless of case), and "" is WIN.INI; sections and entries match
// regardless of case and keep the case of their first write.
class FakeProfile {
 public:
  struct Access {
    std::string section, entry, value, file;
    bool write = false;
  };
  using Entries = std::vector<std::pair<std::string, std::string>>;

  std::string Read(const std::string& section, const std::string& entry,
                   const std::string& default_value, const std::string& file);
  void Write(const std::string& section, const std::string& entry, const std::string& value,
             const std::string& file);
  void Remove(const std::string& section, const std::string& entry, const std::string& file);

  // Test access, without logging.
  void Set(const std::string& file, const std::string& section, const std::string& entry,
           const std::string& value);
  bool Has(const std::string& file, const std::string& section, const std::string& entry) const;
  std::string Get(const std::string& file, const std::string& section,
                  const std::string& entry) const;
  Entries Section(const std::string& file, const std::string& section) const;  // in write order
  std::vector<Access> writes() const;
  bool FailsReads(const std::string& file) const;

  std::vector<Access> log;         // every read and write, in order
  std::set<std::string> fail_reads;  // files (any case) that cannot be read, as when held
  bool fail_writes = false;          // every write fails and changes nothing, as on a full disk

 private:
  const Entries* FindSection(const std::string& file, const std::string& section) const;
  std::map<std::string, std::vector<std::pair<std::string, Entries>>> files_;  // by lower-case name
};

// Files in memory, by the exact name the program uses, with sharing enforced
// as the platform enforces it, and failure switches.
struct FakeFiles {
  std::map<std::string, std::string> contents;
  std::set<std::string> locked;                    // held by another program
  std::map<std::string, std::string> short_names;  // the others have none of their own
  std::string current_directory_short = "C:\\WORK";
  bool fail_writes = false;    // every write (a replace too) fails
  int64_t disk_free = -1;      // bytes the files may still grow by; -1: no limit
  int64_t fail_reads_at = -1;  // a read that reaches this byte fails; -1: never
  int opens = 0;
  int creates = 0;
  std::map<std::string, int> held_deny_write;  // open with writes denied, by name
};

// The bytes that begin a two-byte character in code page 932 (Japanese, as in
// Shift-JIS); their second byte may be any of 0x40 to 0xFC, "\\" and the ASCII
// letters among them.
inline std::set<unsigned char> ShiftJisLeadBytes() {
  std::set<unsigned char> lead;
  for (int c = 0x81; c <= 0xFC; ++c) {
    if (c <= 0x9F || c >= 0xE0) lead.insert(static_cast<unsigned char>(c));
  }
  return lead;
}

struct StartedProgram {
  std::string program, arguments;
  bool operator==(const StartedProgram&) const = default;
};

struct ShownMessage {
  std::string text, caption;
  MessageIcon icon = MessageIcon::kInformation;
};

// DDE servers that a test scripts, and what the client asked of them.
class FakeDdeClient : public DdeClient {
 public:
  struct Sent {
    int32_t channel = 0;
    std::string text;  // the command, or the item requested
  };
  std::set<std::string> services;            // application texts that answer a connect
  std::map<std::string, std::string> items;  // item values; other items are refused
  int execute_error = 0;  // non-zero: commands fail with the DDE failure of this number
  int request_error = 0;  // non-zero: requests fail with the DDE failure of this number
  std::function<void(const std::string&)> before_connect;  // runs before each connect
  std::function<void(const std::string&)> on_execute;      // runs as a command arrives

  std::vector<std::string> connects;  // application texts, in order
  std::vector<Sent> executes;         // commands that reached a server
  std::vector<Sent> requests;         // every request, failed ones too
  std::vector<int32_t> closed;
  std::vector<int32_t> timeouts;
  std::set<int32_t> open;
  int32_t next_channel = 1;

  Status Open(const std::string& service, int32_t* channel) override;
  Status Send(int32_t channel, const std::string& command) override;
  Status Request(int32_t channel, const std::string& item, std::string* value) override;
  Status Close(int32_t channel) override;
  void SetTimeOut(int32_t hundredths) override { timeouts.push_back(hundredths); }
};

// The whole platform in memory: every Env operation works on the public
// state below, which tests set up and look at.
class FakeEnv : public Env {
 public:
  struct {
    std::string text;
  } command_line;
  FakeProfile profile;
  FakeFiles files;
  struct {
    std::vector<StartedProgram> started;  // in order
    int start_fails_with = 0;  // non-zero: every start of a file fails with this Windows error
    std::set<std::string> held;        // locks held now, by this program or another one
    std::vector<std::string> locked;   // every lock taken, in order
  } programs;
  struct {
    std::vector<ShownMessage> shown;
    std::vector<std::string> output;  // lines written to the standard output
  } messages;
  struct {
    Date today{2026, 12, 7};
    int32_t time = 12 * 360000;  // noon
    int32_t step = 0;            // added to the time after every reading
    int64_t paused = 0;          // hundredths spent in Pause
  } clock;
  struct {
    // Bytes that begin a two-byte character in the ANSI code page; none, as
    // in code page 1252, means one byte for each character.
    std::set<unsigned char> lead_bytes;
  } code_page;
  FakeDdeClient dde_client;

  Status CommandText(std::string* text) override {
    *text = command_line.text;
    return {};
  }
  Status ReadIniValue(const std::string& section, const std::string& entry,
                      const std::string& default_value, const std::string& file,
                      std::string* value) override {
    value->clear();
    if (profile.FailsReads(file)) return FileIsLocked();
    *value = profile.Read(section, entry, default_value, file);
    return {};
  }
  Status WriteIniValue(const std::string& section, const std::string& entry,
                       const std::string& value, const std::string& file) override {
    if (profile.fail_writes) return {Status::Kind::kNoRoom, "File System Error"};
    profile.Write(section, entry, value, file);
    return {};
  }
  Status RemoveIniValue(const std::string& section, const std::string& entry,
                        const std::string& file) override {
    if (profile.fail_writes) return {Status::Kind::kNoRoom, "File System Error"};
    profile.Remove(section, entry, file);
    return {};
  }
  Status OpenFile(const std::string& name, Share share, IfMissing missing,
                  std::unique_ptr<File>* file) override;
  Status ReplaceContents(const std::string& name, const std::string& bytes) override;
  Status AppendToFile(const std::string& name, const std::string& bytes) override;
  bool FileExists(const std::string& name) override { return files.contents.count(name) != 0; }
  // Names that differ in letter case alone lead to one file, as on Windows.
  bool SameFile(const std::string& a, const std::string& b) override;
  std::string ShortPath(const std::string& path) override;
  Status StartProgram(const std::string& program, const std::string& arguments) override;
  bool IsLeadByte(char byte) override {
    return code_page.lead_bytes.count(static_cast<unsigned char>(byte)) != 0;
  }
  Status LockAcrossProcesses(const std::string& name, int32_t hundredths,
                             std::unique_ptr<ProcessLock>* lock) override;
  void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override {
    messages.shown.push_back({text, caption, icon});
  }
  void WriteStandardOutput(const std::string& line) override { messages.output.push_back(line); }
  DateTime Now() override;
  void Pause(int32_t hundredths) override;
  DdeClient& dde() override { return dde_client; }
};

}  // namespace zqmv5

#endif  // ZQMV5_TESTING_FAKE_ENV_H_
