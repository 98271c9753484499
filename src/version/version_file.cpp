#include "version/version_file.h"

#include <string>

#include "runtime/fixed_text.h"
#include "runtime/record.h"

namespace zqmv5 {

void VersionRecord::Clear() { SetText(""); }

std::string VersionRecord::Text() const {
  return FitString(LABEL, kLabelWidth) + FitString(LP, kLpWidth) + FitString(VER, kVerWidth) +
         FitString(SP, kSpWidth) + FitString(BUILD, kBuildWidth) + FitString(RP, kRpWidth) +
         FitString(ADDED, kAddedWidth) + FitString(NOTE, kNoteWidth);
}

void VersionRecord::SetText(std::string_view text) {
  const std::string record = FitString(text, kVersionRecordSize);
  size_t at = 0;
  auto take = [&](size_t width) {
    std::string field = record.substr(at, width);
    at += width;
    return field;
  };
  LABEL = take(kLabelWidth);
  LP = take(kLpWidth);
  VER = take(kVerWidth);
  SP = take(kSpWidth);
  BUILD = take(kBuildWidth);
  RP = take(kRpWidth);
  ADDED = take(kAddedWidth);
  NOTE = take(kNoteWidth);
}

std::string AddedText(const Date& date, int32_t time_of_day) {
  // Each part is kept to two digits so that the field keeps its width
  // whatever the clock says.
  auto two = [](int value) {
    value = (value % 100 + 100) % 100;
    return std::string{static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
  };
  const int hours = time_of_day / (60 * 60 * 100);
  const int minutes = time_of_day / (60 * 100) % 60;
  const std::string text = " ! " + two(date.month) + "/" + two(date.day) + "/" + two(date.year) +
                           " " + two(hours) + two(minutes) + " -- ";
  return FitString(text, kAddedWidth);
}

namespace {

void SetLabel(TextFile& file, size_t index, const char* label) {
  const std::string& line = file.lines()[index];
  VersionRecord record;
  record.SetText(RecordFromLine(line, kVersionRecordSize));
  record.LABEL = FitString(label, kLabelWidth);
  file.Put(index, LineForPut(record.Text(), line, kVersionRecordSize));
}

}  // namespace

void CommentOutLine(TextFile& file, size_t index) {
  if (file.lines()[index].rfind('!', 0) == 0) return;
  SetLabel(file, index, "!Version");
}

void MakeLineActive(TextFile& file, size_t index) { SetLabel(file, index, "Version"); }

}  // namespace zqmv5
