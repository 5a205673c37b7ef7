// Resource ids of the registry scripts (type "REGISTRY"), shared by the resource script and the
// code that runs them.
#pragma once

#define VISTREL_APPID_SCRIPT 101
#define VISTREL_STRECOGNIZER_SCRIPT 102
#define VISTREL_STACTION_SCRIPT 103
