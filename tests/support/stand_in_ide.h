#ifndef ZQMV5_TESTS_SUPPORT_STAND_IN_IDE_H_
#define ZQMV5_TESTS_SUPPORT_STAND_IN_IDE_H_

#include <string>
#include <vector>

namespace zqmv5::testing {

// The stand-in IDE (tests/programs/fake_ide.cpp) as tests control it: its
// record of events, and its windows of class "ZQMV5FakeIde".

// The details of the record's lines of one event, in order ("" for an event
// without details).
std::vector<std::string> RecordedEvents(const std::string& record, const std::string& event);

// Waits up to `ms` until the record holds `text`.
bool WaitForRecord(const std::string& record, const std::string& text, unsigned long ms = 20000);

// Asks the stand-ins of one process (0: all) to end, as a user closing the
// IDE would, and waits until they have gone.
void CloseStandIns(unsigned long process_id = 0);

}  // namespace zqmv5::testing

#endif  // ZQMV5_TESTS_SUPPORT_STAND_IN_IDE_H_
