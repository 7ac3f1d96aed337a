// The library's C interface, found on the include path that pkg-config gives.
#include <sdkcore/sdkcore.h>
