#ifndef ZQMV5_ENV_ENV_H_
#define ZQMV5_ENV_ENV_H_

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

#include "env/status.h"

namespace zqmv5 {

// How an open file is shared with other programs.
enum class Share {
  kDenyNone,   // others may read and write
  kDenyWrite,  // others may read but not write
};

// What opening a file does when no file of that name exists.
enum class IfMissing {
  kFail,    // fails, creating nothing
  kCreate,  // makes a new empty file and opens that
};

// The bytes of one file, open for reading and writing.
class File {
 public:
  virtual ~File() = default;
  virtual Status Size(int64_t* size) = 0;
  // Reads up to `count` bytes at `offset`; `*read` is less at the end.
  virtual Status ReadAt(int64_t offset, char* buffer, size_t count, size_t* read) = 0;
  virtual Status WriteAt(int64_t offset, const char* data, size_t count) = 0;
  // Makes the file `size` bytes long. Growing claims the room on the disk, so
  // that a full disk fails here rather than at a later write.
  virtual Status Resize(int64_t size) = 0;
};

// Writes `bytes` from `at` to the end of `file`, in place of `old`, which the
// file holds there now. The room is claimed before any byte changes, so that
// a full disk fails with the file untouched; should a later write fail all
// the same, the old bytes go back.
inline Status Overwrite(File& file, int64_t at, std::string_view old, std::string_view bytes) {
  const int64_t old_size = at + static_cast<int64_t>(old.size());
  const int64_t new_size = at + static_cast<int64_t>(bytes.size());
  Status status = new_size > old_size ? file.Resize(new_size) : Status{};
  if (status.ok()) status = file.WriteAt(at, bytes.data(), bytes.size());
  if (status.ok() && new_size < old_size) status = file.Resize(new_size);
  if (!status.ok()) {
    file.WriteAt(at, old.data(), old.size());
    file.Resize(old_size);
  }
  return status;
}

// Reads the whole of `file` into `*bytes`, up to its end should it become
// shorter meanwhile. Fails when a read fails, and with no room for a file too
// large for memory.
inline Status ReadWhole(File& file, std::string* bytes) {
  int64_t size = 0;
  Status status = file.Size(&size);
  if (!status.ok()) return status;
  if (static_cast<uint64_t>(size) > std::numeric_limits<size_t>::max() / 2) {
    return {Status::Kind::kNoRoom, "File Too Large"};
  }
  bytes->assign(static_cast<size_t>(size), '\0');
  size_t done = 0;
  while (done < bytes->size()) {
    size_t read = 0;
    status =
        file.ReadAt(static_cast<int64_t>(done), bytes->data() + done, bytes->size() - done, &read);
    if (!status.ok()) return status;
    if (read == 0) break;
    done += read;
  }
  bytes->resize(done);
  return {};
}

// Text in UTF-16, whose characters are not single bytes: it starts with a
// byte order mark, or holds a NUL byte, which text in the ANSI code page or
// UTF-8 never holds and UTF-16 without a mark holds in every ASCII character.
inline bool LooksLikeUtf16(std::string_view bytes) {
  return bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF" ||
         bytes.find('\0') != bytes.npos;
}

// A lock that one program at a time holds, across all programs of the
// session; released when the object goes.
class ProcessLock {
 public:
  virtual ~ProcessLock() = default;
};

enum class MessageIcon {
  kInformation,  // the asterisk icon
  kWindowsLogo,  // the standard Windows logo icon (IDI_WINLOGO)
  kNone,
};

struct Date {
  int year = 0;   // four digits
  int month = 0;  // 1 to 12
  int day = 0;    // 1 to 31
};

// One reading of the local clock. Date and time come from the same reading,
// so that a stamp taken at midnight never pairs one day's date with the next
// day's time.
struct DateTime {
  Date date;
  int32_t time = 0;  // hundredths of a second since midnight
};

// Hundredths of a second in one day: the time of day runs from 0 to one less.
constexpr int32_t kHundredthsPerDay = 24 * 60 * 60 * 100;

// DDE client conversations, on channels that are never 0. Failures are the
// DDE failures of status.h; an operation on a channel that is not open fails
// at once with kDdeChannelNotOpen.
class DdeClient {
 public:
  virtual ~DdeClient() = default;
  // Opens a conversation with `service` on any topic it offers.
  virtual Status Open(const std::string& service, int32_t* channel) = 0;
  virtual Status Send(int32_t channel, const std::string& command) = 0;
  virtual Status Request(int32_t channel, const std::string& item, std::string* value) = 0;
  virtual Status Close(int32_t channel) = 0;
  // The time-out of later transactions: one second until set, or below 1.
  virtual void SetTimeOut(int32_t hundredths) = 0;
};

// Everything the program needs of the platform. The program entry makes the
// one real Env (NewWin32Env); tests use a fake (testing/fake_env.h) or wrap
// one (testing/env_wrapper.h).
class Env {
 public:
  virtual ~Env() = default;

  // The whole command-line text after the program name and the blanks after
  // it, in the ANSI code page that the IDE's files use. Fails (the text then
  // holds "?" for what did not convert) when a character has no exact form
  // there: a look-alike would name another file or split differently.
  virtual Status CommandText(std::string* text) = 0;

  // INI profile files. The name goes unchanged to the platform: a bare name
  // lies in the Windows directory, ".\name" in the current one, and "" is
  // WIN.INI. Sections and entries match regardless of case. A read gives the
  // whole value in `*value`, or `default_value` when file, section or entry is
  // missing; a file that exists but cannot be read (another program holds it)
  // fails, never reads as empty. A write creates what is missing, and either
  // lands whole or fails with every byte of the file as it was.
  virtual Status ReadIniValue(const std::string& section, const std::string& entry,
                              const std::string& default_value, const std::string& file,
                              std::string* value) = 0;
  virtual Status WriteIniValue(const std::string& section, const std::string& entry,
                               const std::string& value, const std::string& file) = 0;
  virtual Status RemoveIniValue(const std::string& section, const std::string& entry,
                                const std::string& file) = 0;

  // Opens a file for reading and writing, in one step with making it where
  // `missing` asks for that: an existing file is always opened as it is, never
  // made anew. Fails (not found, held by another program, ...) otherwise.
  virtual Status OpenFile(const std::string& name, Share share, IfMissing missing,
                          std::unique_ptr<File>* file) = 0;
  // Gives the existing file `name` the new contents `bytes` in one step, so
  // that a reader finds either all the old bytes or all the new ones, never
  // part of them, while the file stays the file it was: its attributes, its
  // security and its short name stay, and a link stays a link to the file
  // that gets the bytes. Nothing is left beside it, also on failure.
  virtual Status ReplaceContents(const std::string& name, const std::string& bytes) = 0;
  // Adds `bytes` at the end of file `name`, creating it when missing, in one
  // write that other programs appending at the same time never split. The
  // file then ends in all of the bytes, or (on failure) in none of them: a
  // full disk that took a part leaves nothing of it.
  virtual Status AppendToFile(const std::string& name, const std::string& bytes) = 0;
  // True when a file (not a folder) of that name exists; a name that cannot
  // be looked up counts as missing.
  virtual bool FileExists(const std::string& name) = 0;
  // True when both names lead to one existing file, whatever form each takes
  // (letter case, a relative or a full path, a short name, a link), also while
  // a program holds it; false when they do not, or when that cannot be told.
  virtual bool SameFile(const std::string& a, const std::string& b) = 0;
  // The short (8.3) form of `path` ("": the current directory), or the path
  // itself when it has none.
  virtual std::string ShortPath(const std::string& path) = 0;

  // Starts the file `program`, with `arguments` after its name on its
  // command line, without waiting for it. The platform neither searches for
  // the file nor guesses where a name with blanks ends (env/program.h finds
  // the program that a command line names). A failure's number is the
  // platform's error number (2: no such file).
  virtual Status StartProgram(const std::string& program, const std::string& arguments) = 0;
  // Waits up to `hundredths` for the lock `name`, held while `*lock` lives;
  // fails (held) when another program still holds it then. A lock whose
  // holder ended without releasing it is free.
  virtual Status LockAcrossProcesses(const std::string& name, int32_t hundredths,
                                     std::unique_ptr<ProcessLock>* lock) = 0;

  // A modal box with one OK button; "|" in the text starts a new line. A box
  // that cannot be shown leaves nobody to tell, so nothing is returned.
  virtual void ShowMessage(const std::string& text, const std::string& caption,
                           MessageIcon icon) = 0;
  // Writes `line` and a line end to the standard output that the caller
  // handed this program, if it handed one; nothing otherwise. A caller that
  // does not read it has no use for the outcome.
  virtual void WriteStandardOutput(const std::string& line) = 0;

  // True when `byte` begins a two-byte character in the ANSI code page, as
  // bytes do in the Japanese, Chinese and Korean ones; never for an ASCII
  // byte. env/ansi_text.h reads text a character at a time with it.
  virtual bool IsLeadByte(char byte) = 0;

  // The local date and time of day; the clock cannot fail.
  virtual DateTime Now() = 0;
  // Rests about `hundredths` without spending processor time.
  virtual void Pause(int32_t hundredths) = 0;

  // The client side of DDE conversations.
  virtual DdeClient& dde() = 0;
};

// The rests of one wait: `rest` hundredths of a second at a time, `wait` in
// all. Take rests once and returns true, or false once the wait is used up.
struct Rests {
  bool Take() {
    if (waited >= wait) return false;
    env.Pause(rest);
    waited += rest;
    return true;
  }
  Env& env;
  const int32_t wait, rest;
  int32_t waited = 0;
};

// The one retry loop: runs `attempt` until it succeeds, and again after each
// failure for which `again` (which takes one of some Rests) returns true.
template <typename Attempt, typename Again>
Status Retry(Attempt attempt, Again again) {
  Status status = attempt();
  while (!status.ok() && again(status)) status = attempt();
  return status;
}

// Runs `attempt` until it no longer fails because another program holds what
// it needs, with rests between, for `wait` hundredths of a second at most.
template <typename Attempt>
Status RetryWhileHeld(Env& env, int32_t wait, Attempt attempt) {
  Rests rests{env, wait, 5};
  return Retry(attempt, [&](const Status& failure) { return failure.IsHeld() && rests.Take(); });
}

// The real platform; never null.
std::unique_ptr<Env> NewWin32Env();

}  // namespace zqmv5

#endif  // ZQMV5_ENV_ENV_H_
