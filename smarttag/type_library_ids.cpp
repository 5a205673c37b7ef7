// Defines the type library ids that the IDL headers declare.
#include <windows.h>

#include <initguid.h>

#include "smarttag/type_library_ids.h"
