#include "app/dispatch.h"

#include <cstddef>
#include <string>

#include "cmdline/discovery.h"
#include "commands/include_command.h"
#include "commands/lib_src_command.h"
#include "commands/reg_command.h"
#include "commands/un_include_command.h"
#include "commands/un_user_menu_command.h"
#include "commands/user_menu_command.h"
#include "commands/version_command.h"
#include "text/strings.h"
#include "version/version_window.h"

namespace zqmv5 {
namespace {

constexpr char kInfoCaption[] = "ZQInstall";

const char* const kHelpLines[] = {
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

const char* const kDescriptionLines[] = {
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

// The lines joined by the message box's line break mark "|".
template <size_t kCount>
std::string JoinLines(const char* const (&lines)[kCount]) {
  std::string text = lines[0];
  for (size_t i = 1; i < kCount; ++i) text += std::string("|") + lines[i];
  return text;
}

using Handler = void (*)(CommandContext&, Env&);

void ShowHelp(CommandContext& context, Env& env) {
  context.Tell(env, JoinLines(kHelpLines), kInfoCaption, MessageIcon::kWindowsLogo);
}

void ShowDescription(CommandContext& context, Env& env) {
  context.Tell(env, {Status::Kind::kBadInput, JoinLines(kDescriptionLines)}, kInfoCaption,
               MessageIcon::kWindowsLogo);
}

struct Verb {
  const char* name;
  Handler action;
  bool needs_ide = true;
  bool reads_operands = true;  // VERSION reads its note as text, which nothing shifts
};

// Searched in this order; the first verb equal to the command's wins. A new
// verb is one source trio under commands/ and one row here.
constexpr Verb kVerbs[] = {
    {"REG", RegCommand},
    {"USERMENU", UserMenuCommand},
    {"INCLUDE", IncludeCommand},
    {"LIBSRC", LibSrcCommand},
    {"CMD", ShowHelp},
    {"UNUSERMENU", UnUserMenuCommand},
    {"UNINCLUDE", UnIncludeCommand},
    {"UNLIBSRC", UnLibSrcCommand},
    {"VERSION", VersionCommand, false, false},
};
// Any other verb: the description, once the IDE is found.
constexpr Verb kOtherVerb = {"", ShowDescription};

const Verb& FindVerb(const std::string& name) {
  for (const Verb& verb : kVerbs) {
    if (name == verb.name) return verb;
  }
  return kOtherVerb;
}

}  // namespace

ExitStatus ExitStatusOf(bool quiet, Status::Kind outcome) {
  if (!quiet || outcome == Status::Kind::kOk) return kExitDone;
  if (outcome == Status::Kind::kBadInput) return kExitBadCommandLine;
  return outcome == Status::Kind::kNoInstallation ? kExitNoInstallation : kExitFailed;
}

void Dispatch(CommandContext& context, Env& env) {
  const Verb& verb = FindVerb(context.verb);
  const Status placed =
      context.quiet && verb.reads_operands ? OperandsKeepTheirPlaces(context.text) : Status{};
  if (!placed.ok()) return context.Tell(env, placed, "Incorrect Command Line");
  if (!verb.needs_ide || Discover(context, env)) verb.action(context, env);
}

int Main(Env& env, const VersionViewOpener& open_view) {
  CommandContext context;
  std::string text;
  Status readable = env.CommandText(&text);
  context.quiet = TakeQuietSwitch(&text);
  context.verb = VerbOf(text);
  // A value cut at the end of what is read, or a look-alike of a character,
  // would name another file or give another split: rather nothing at all.
  if (readable.ok() && TrimRight(text).size() > kMaxText) {
    readable = {Status::Kind::kBadInput, "The command line is too long: ZQMV5 reads " +
                                             std::to_string(kMaxText) + " characters of it."};
  }
  if (!readable.ok()) {
    context.Tell(env,
                 readable.Reworded(readable.message() + "|Nothing was done, as a cut or changed "
                                                        "value would name something else."),
                 "Incorrect Command Line");
  } else if (context.verb.empty() && !context.quiet) {
    VersionWindow(env, open_view).Run();
  } else if (context.verb.empty()) {
    ShowDescription(context, env);  // a window needs someone at the screen
  } else {
    context.Tokenize(text);
    Dispatch(context, env);
  }
  return ExitStatusOf(context.quiet, context.outcome().kind());
}

}  // namespace zqmv5
