#include "commands/lib_src_command.h"

#include "runtime/fixed_text.h"

namespace zqmv5 {
namespace {

constexpr char kLibSrcCaption[] = "Set ABC Library Directory";

}  // namespace

void LibSrcCommand(CommandContext& context, Runtime& runtime) {
  context.COMMANDLINE = FitCString(context.Token(2), kTextFieldSize);
  if (IsBlank(context.COMMANDLINE)) {
    runtime.messages.ShowMessage("File parameter missing from command line", kLibSrcCaption);
    return;
  }
  // A line break would end the INI line early and start a line of its own
  // (a section header, say) in the IDE's INI file.
  if (context.COMMANDLINE.find_first_of("\r\n") != std::string::npos) {
    runtime.messages.ShowMessage("The directory parameter cannot hold a line break",
                                 kLibSrcCaption);
    return;
  }

  runtime.profile.WriteIniValue("Paths", "Libsrc", Upper(context.COMMANDLINE), context.INIFILE);

  // The help text promises "LIBSRC Path [Run] (Any third parameter will run CW)".
  if (IsBlank(context.EXENAME) || context.Token(3).empty()) return;
  runtime.programs.StartProgram(context.EXENAME);
}

}  // namespace zqmv5
