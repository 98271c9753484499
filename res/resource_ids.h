// Resource ids shared by the resource script and the program.
#ifndef ZQMV5_RES_RESOURCE_IDS_H_
#define ZQMV5_RES_RESOURCE_IDS_H_

#define IDI_ZQMV 1

// Controls of the Log/Version window: the control numbered n in the window
// has the id 1000 + n, and a spin box's arrows 1100 + n.
#define ZQ_CONTROL_ID(n) (1000 + (n))
#define ZQ_SPIN_ARROWS_ID(n) (1100 + (n))

#define ZQMV5_STR2(x) #x
#define ZQMV5_STR(x) ZQMV5_STR2(x)
#define ZQMV5_VERSION_STRING \
  ZQMV5_STR(ZQMV5_VERSION_MAJOR) "." ZQMV5_STR(ZQMV5_VERSION_MINOR) "." ZQMV5_STR(ZQMV5_VERSION_PATCH)

#endif  // ZQMV5_RES_RESOURCE_IDS_H_
