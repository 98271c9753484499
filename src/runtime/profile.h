#ifndef ZQMV5_RUNTIME_PROFILE_H_
#define ZQMV5_RUNTIME_PROFILE_H_

#include <string>

namespace zqmv5 {

// INI profile files. The file name goes unchanged to the platform's profile
// service: a bare name ("ZQMV5.ini") lies in the Windows directory, ".\name"
// in the current directory, and an empty name means WIN.INI. Section and entry
// names match regardless of case.
class Profile {
 public:
  virtual ~Profile() = default;

  // Returns the entry's whole value (no length limit), or `default_value`
  // when the file, the section or the entry is missing.
  virtual std::string ReadIniValue(const std::string& section, const std::string& entry,
                                   const std::string& default_value,
                                   const std::string& file) = 0;

  // Writes the entry, creating file, section and entry as needed. Sets the
  // error state; callers in this system do not test it.
  virtual void WriteIniValue(const std::string& section, const std::string& entry,
                             const std::string& value, const std::string& file) = 0;
};

}  // namespace zqmv5

#endif  // ZQMV5_RUNTIME_PROFILE_H_
