// Resource ids shared by the resource script and the program.
#ifndef ZQMV5_RES_RESOURCE_IDS_H_
#define ZQMV5_RES_RESOURCE_IDS_H_

#define IDI_ZQMV 1

#define ZQMV5_STR2(x) #x
#define ZQMV5_STR(x) ZQMV5_STR2(x)
#define ZQMV5_VERSION_STRING \
  ZQMV5_STR(ZQMV5_VERSION_MAJOR) "." ZQMV5_STR(ZQMV5_VERSION_MINOR) "." ZQMV5_STR(ZQMV5_VERSION_PATCH)

#endif  // ZQMV5_RES_RESOURCE_IDS_H_
