#include "app/dispatch.h"

#include <iterator>

#include "cmdline/discovery.h"
#include "commands/include_command.h"
#include "commands/lib_src_command.h"
#include "commands/reg_command.h"
#include "commands/user_menu_command.h"
#include "text/strings.h"
#include "version/version_window.h"

namespace zqmv5 {

const char* const kHelpLines[12] = {
    "Command Line Parameters are:",
    "",
    "     REG TemplateToRegister",
    "     USERMENU AppRef Menu+Display-Menu+Display CommandLine [Parm1+Parm2+Parm3] ",
    "        + becomes a space and- becomes a \"/\" ",
    "     INCLUDE File FileToInclude",
    "     LIBSRC Path [Run] (Any third parameter will run CW)",
    "ZQMV looks into Win.in for the Clarion root directory and exe name.  You can override "
    "this by adding an ini file ZQMV5.ini (ZQMV55 for the C55 version) with the following "
    "entries: ",
    "     [Clarion]",
    "     Root=    Example: C:\\C55",
    "     ExeName= Example: C55ee.exe",
    "     IniFile= Example: C55ee.ini",
};

const char* const kDescriptionLines[8] = {
    "The ZQInstall is a \"Command Line\" Clarion 5 Utility.  From the command line you can:",
    "",
    "    Register a template using DDE",
    "    Add Menu Items to the Clarion Environment",
    "    Add includes files to a template",
    "    Change the source directory for ABC compliant INClude files.",
    "",
    "Great for use with Wise InstallBuilder Execute Program script. This is what we now uses "
    "for all our installation programs! Also run it from the Window's Run dialog or a DOS "
    "prompt,  or create project specific ABC library directories and use it to start Clarion "
    "using a selected directory.  ",
};

std::string JoinLines(const char* const* lines, size_t count) {
  std::string text;
  for (size_t i = 0; i < count; ++i) {
    if (i > 0) text += '|';
    text += lines[i];
  }
  return text;
}

namespace {

using Handler = void (*)(CommandContext&, Env&);

void ShowHelp(CommandContext&, Env& env) {
  env.ShowMessage(JoinLines(kHelpLines, std::size(kHelpLines)), kInfoCaption,
                  MessageIcon::kWindowsLogo);
}

struct Verb {
  const char* name;
  Handler action;
};

// Searched in this order; the first verb equal to the command's wins. A new
// verb is one source trio under commands/ and one row here.
constexpr Verb kVerbs[] = {
    {"REG", RegCommand},         {"USERMENU", UserMenuCommand},
    {"INCLUDE", IncludeCommand}, {"LIBSRC", LibSrcCommand},
    {"CMD", ShowHelp},
};

}  // namespace

void Dispatch(CommandContext& context, Env& env) {
  for (const Verb& verb : kVerbs) {
    if (context.verb == verb.name) {
      verb.action(context, env);
      return;
    }
  }
  env.ShowMessage(JoinLines(kDescriptionLines, std::size(kDescriptionLines)), kInfoCaption,
                  MessageIcon::kWindowsLogo);
}

void Main(Env& env) {
  if (IsBlank(CommandParameter(env.CommandText(), 1))) {
    VersionWindow(env);
    return;
  }
  CommandContext context;
  if (Discover(context, env)) Dispatch(context, env);
}

}  // namespace zqmv5
