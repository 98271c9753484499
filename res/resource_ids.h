// Resource and control ids shared by the resource script, the program and
// the tools that drive its dialog. Plain #defines, so that the resource
// compiler reads them too.
#ifndef ZQMV5_RES_RESOURCE_IDS_H_
#define ZQMV5_RES_RESOURCE_IDS_H_

#define IDI_ZQMV 1
#define ZQ_VERSION_DIALOG 100
#define ZQ_VERSION_WINDOW_CLASS "ZQMV5VersionWindow"

// The Log/Version dialog's controls, numbered in window order. The control
// numbered n has the id ZQ_CONTROL_ID(n), a spin box's arrows
// ZQ_SPIN_ARROWS_ID(n).
#define ZQ_CONTROL_ID(n) (1000 + (n))
#define ZQ_SPIN_ARROWS_ID(n) (1100 + (n))
#define ZQ_ICON 1
#define ZQ_HEADER 2
#define ZQ_SHEET 3
#define ZQ_DIRECTORY 5
#define ZQ_VERSION_GROUP 6
#define ZQ_INFO_BUTTON 7
#define ZQ_NOTE_PROMPT 8
#define ZQ_NOTE 9
#define ZQ_VERSION_PROMPT 10
#define ZQ_VERSION 11
#define ZQ_BUILD_PROMPT 12
#define ZQ_BUILD 13
#define ZQ_SETUP_GROUP 14
#define ZQ_ENABLE_UPDATES 15
#define ZQ_AUTO_INCREMENT 16
#define ZQ_FILE_PROMPT 17
#define ZQ_FILE_NAME 18
#define ZQ_OK 19
#define ZQ_CANCEL 20
#define ZQ_PROGRAM_VERSION 22
#define ZQ_MAIN_BUTTON 23
#define ZQ_CREDIT 24
#define ZQ_OPTIONS_GROUP 25
#define ZQ_OPTIONS_PROMPT 26
#define ZQ_UTILITY_GROUP 27
#define ZQ_DESCRIPTION 28
#define ZQ_HIDDEN_PROMPT 29
#define ZQ_LAST_CONTROL 29

#define ZQMV5_STR2(x) #x
#define ZQMV5_STR(x) ZQMV5_STR2(x)
#define ZQMV5_VERSION_STRING     \
  ZQMV5_STR(ZQMV5_VERSION_MAJOR) \
  "." ZQMV5_STR(ZQMV5_VERSION_MINOR) "." ZQMV5_STR(ZQMV5_VERSION_PATCH)

#endif  // ZQMV5_RES_RESOURCE_IDS_H_
